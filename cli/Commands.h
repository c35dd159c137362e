// tarvelle-cli: the Bandwidth, IP and Password calculators on the command line.
//
// RunCli is the whole program behind main(): it reads the arguments (argv[1..]), runs one command and returns
// the exit code. The commands call the same engines as the window's pages, so a text printed here is the text
// the page shows. Everything a run reads or writes goes through the Console it is given, which lets the tests
// and the fuzzer call it in-process. No argument, however malformed, makes it throw, crash or loop: bad usage
// is one line on stderr and exit code 2; a failed read or write of the standard streams is one line on stderr
// and exit code 1.
#pragma once

#include "Io.h"
#include "Platform.h"

#include <string>
#include <vector>

namespace tarvelle::cli {

using Args = std::vector<std::string>;

/// Exit codes: success; a run that failed (no solution, no password, a bad input line, a failed read or
/// write); bad usage. An interrupted program (Ctrl-C) exits with kExitInterrupted.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

/// What --version prints.
inline constexpr const char* kVersionText = "tarvelle-cli " TARVELLE_VERSION;

/// The streams and services a run uses.
struct Console
{
    ByteSource& in;
    OutStream& out;
    OutStream& err;
    /// Whether stderr is a terminal, where long password runs show their progress.
    bool errIsTerminal = false;
    /// The clock of password runs (tickCount); the steady clock when null.
    Platform* clock = nullptr;
};

/// Runs tarvelle-cli with args (argv[1..]): the command, then the final flush of out. Returns the exit code.
int RunCli(const Args& args, Console& console);

/// RunCli over plain sinks: stdout and stderr are buffered here and flushed at the end.
int RunCli(const Args& args, ByteSource& in, ByteSink& out, ByteSink& err, bool errIsTerminal = false);

/// `tarvelle-cli ip ...`, with the arguments after "ip".
int RunIpCommand(const Args& args, Console& console);
/// `tarvelle-cli bandwidth ...`, with the arguments after "bandwidth".
int RunBandwidthCommand(const Args& args, Console& console);
/// `tarvelle-cli passwords ...`, with the arguments after "passwords".
int RunPasswordsCommand(const Args& args, Console& console);

} // namespace tarvelle::cli
