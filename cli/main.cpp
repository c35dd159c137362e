// tarvelle-cli: everything happens in RunCli (Commands.h); this only hands it the process's arguments and
// streams.
#include "Commands.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const tarvelle::cli::Args args(argv + 1, argv + argc);
    const int code = tarvelle::cli::RunCli(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
