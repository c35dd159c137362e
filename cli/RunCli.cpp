#include "CliArgs.h"
#include "Commands.h"

#include <exception>
#include <string_view>

namespace tarvelle::cli {

namespace {

constexpr const char* kHelp
    = "usage: tarvelle-cli COMMAND [options]\n"
      "The Bandwidth, IP and Password calculators of Tarvelle on the command line, computing exactly as the\n"
      "pages do. Each command takes --json for one JSON object per result and --help for its options.\n"
      "  bandwidth   solves rate, size or time from the other two, with tolerance lines\n"
      "  ip          class, addresses, range, counts and breakdown of IPv4 addresses\n"
      "  passwords   makes passwords\n"
      "  --version   prints the version\n"
      "  --help      this text\n"
      "Exit codes: 0 success, 1 a run that failed (no solution, no password, a bad input line), 2 bad usage.\n";

int Dispatch(const Args& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << "tarvelle-cli: a command is needed: bandwidth, ip or passwords (see tarvelle-cli --help)\n";
        return kExitUsage;
    }
    const std::string_view command = args.front();
    const Args rest(args.begin() + 1, args.end());
    if (command == "bandwidth")
        return RunBandwidthCommand(rest, out, err);
    if (command == "ip")
        return RunIpCommand(rest, in, out, err);
    if (command == "passwords")
        return RunPasswordsCommand(rest, out, err);
    if (command == "--help" || command == "-h") {
        out << kHelp;
        return kExitSuccess;
    }
    if (command == "--version") {
        out << kVersionText << '\n';
        return kExitSuccess;
    }
    err << "tarvelle-cli: unknown command " << Quoted(command)
        << ": the commands are bandwidth, ip and passwords (see tarvelle-cli --help)\n";
    return kExitUsage;
}

} // namespace

int RunCli(const Args& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    // Bad input is reported by return values; what is left to throw is running out of memory or a stream
    // set to throw by its owner. Neither may escape to a caller that runs many commands in one process.
    try {
        return Dispatch(args, in, out, err);
    } catch (const std::exception& e) {
        try {
            err << "tarvelle-cli: " << e.what() << '\n';
        } catch (...) { }
    } catch (...) {
        try {
            err << "tarvelle-cli: unexpected failure\n";
        } catch (...) { }
    }
    return kExitFailure;
}

} // namespace tarvelle::cli
