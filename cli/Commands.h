// tarvelle-cli: the Bandwidth, IP and Password calculators on the command line.
//
// RunCli is the whole program behind main(): it reads the arguments (argv[1..]), runs one sub-command and
// returns the exit code. The sub-commands drive the same engines and page models as the window, so a result
// printed here is the text the page shows. Everything a run reads or writes goes through the three streams it
// is given, which lets the tests and the fuzzer call it in-process. No argument, however malformed, makes it
// throw, crash or loop: bad usage is one line on err and exit code 2.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace tarvelle::cli {

using Args = std::vector<std::string>;

/// Exit codes: success, a run that failed (an unsolvable value, no password, a bad input line), bad usage.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

/// What --version prints.
inline constexpr const char* kVersionText = "tarvelle-cli " TARVELLE_VERSION;

/// Runs tarvelle-cli with args (argv[1..]); `in` is read only by `ip -`. Returns the exit code.
int RunCli(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);

/// `tarvelle-cli ip ...`, with the arguments after "ip".
int RunIpCommand(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
/// `tarvelle-cli bandwidth ...`, with the arguments after "bandwidth".
int RunBandwidthCommand(const Args& args, std::ostream& out, std::ostream& err);
/// `tarvelle-cli passwords ...`, with the arguments after "passwords".
int RunPasswordsCommand(const Args& args, std::ostream& out, std::ostream& err);

} // namespace tarvelle::cli
