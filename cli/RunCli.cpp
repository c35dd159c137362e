#include "CliArgs.h"
#include "Commands.h"

#include <exception>
#include <string_view>

namespace tarvelle::cli {

namespace {

constexpr const char* kHelp
    = "usage: tarvelle-cli COMMAND [options]\n"
      "Tarvelle's Bandwidth, IP and Password calculators on the command line, giving the window's texts for the\n"
      "same input. Every command takes -j/--json for JSON output and -h/--help for its options and JSON keys.\n"
      "  bandwidth   relates rate, size and time (size = rate x time): give two, get the third\n"
      "  ip          what a network holds, for an IPv4 or IPv6 address: network, broadcast, range, counts,\n"
      "              class and breakdown (IPv4), type and reverse name; ip split, range and merge list\n"
      "              subnets and CIDR blocks\n"
      "  passwords   makes random passwords, or tells how strong the options' passwords are (--strength)\n"
      "  --version   prints the version\n"
      "  -h, --help  this text\n"
      "JSON keys name what they hold, in snake_case; each command's --help lists its own. Input is read\n"
      "strictly, with no compatibility mode for loose forms: an address, number or unit that does not read\n"
      "whole is bad usage.\n"
      "Exit codes: 0 success; 1 a run that failed (no solution, no password, a bad input line, a failed read\n"
      "or write); 2 bad usage, with one line on stderr and nothing on stdout; 130 interrupted (Ctrl-C).\n"
      "examples:\n"
      "  tarvelle-cli ip 192.168.1.10/24\n"
      "  tarvelle-cli bandwidth --size 4.7GB --rate 8Mbps\n"
      "  tarvelle-cli passwords -n 5\n";

int Dispatch(const Args& args, Console& console)
{
    if (args.empty()) {
        console.err << "tarvelle-cli: a command is needed: bandwidth, ip or passwords (see tarvelle-cli --help)\n";
        return kExitUsage;
    }
    const std::string_view command = args.front();
    const Args rest(args.begin() + 1, args.end());
    if (command == "bandwidth")
        return RunBandwidthCommand(rest, console);
    if (command == "ip")
        return RunIpCommand(rest, console);
    if (command == "passwords")
        return RunPasswordsCommand(rest, console);
    if (command == "--help" || command == "-h") {
        console.out << kHelp;
        return kExitSuccess;
    }
    if (command == "--version") {
        console.out << kVersionText << '\n';
        return kExitSuccess;
    }
    console.err << "tarvelle-cli: unknown command " << Quoted(command)
                << ": the commands are bandwidth, ip and passwords (see tarvelle-cli --help)\n";
    return kExitUsage;
}

int Guarded(const Args& args, Console& console)
{
    // Bad input is reported by return values; what is left to throw is running out of memory. It may not
    // escape to a caller that runs many commands in one process.
    try {
        return Dispatch(args, console);
    } catch (const std::exception& e) {
        console.err << "tarvelle-cli: " << e.what() << '\n';
    } catch (...) {
        console.err << "tarvelle-cli: unexpected failure\n";
    }
    return kExitFailure;
}

} // namespace

int RunCli(const Args& args, Console& console)
{
    int code = Guarded(args, console);
    if (!console.out.flush()) {
        console.err << "tarvelle-cli: cannot write standard output: " << *console.out.error() << '\n';
        if (code == kExitSuccess)
            code = kExitFailure;
    }
    console.err.flush();
    return code;
}

int RunCli(const Args& args, ByteSource& in, ByteSink& out, ByteSink& err, bool errIsTerminal)
{
    OutStream outStream(out);
    OutStream errStream(err);
    Console console {in, outStream, errStream, errIsTerminal, nullptr};
    return RunCli(args, console);
}

} // namespace tarvelle::cli
