#include "Commands.h"

#include <iostream>

namespace {

int usage(std::ostream& os, int code)
{
    os << "usage: tarvelle-cli <command> [options]\n"
          "commands:\n"
          "  bandwidth  solve rate, size or time (tarvelle-cli bandwidth --help)\n"
          "  ip         subnet results for an IPv4 address and prefix (tarvelle-cli ip --help)\n"
          "  password   generate passwords (tarvelle-cli password --help)\n";
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage(std::cerr, 2);
    const std::string command = argv[1];
    const tarvelle::cli::Args args(argv + 2, argv + argc);
    if (command == "bandwidth")
        return tarvelle::cli::RunBandwidthCommand(args, std::cout, std::cerr);
    if (command == "ip")
        return tarvelle::cli::RunIpCommand(args, std::cout, std::cerr);
    if (command == "password")
        return tarvelle::cli::RunPasswordCommand(args, std::cout, std::cerr);
    if (command == "--help" || command == "-h")
        return usage(std::cout, 0);
    std::cerr << "tarvelle-cli: unknown command '" << command << "'\n";
    return usage(std::cerr, 2);
}
