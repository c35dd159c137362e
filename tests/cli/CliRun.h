// Runs tarvelle-cli in-process for the CLI tests and splits what it printed.
#pragma once

#include "Commands.h"

#include <sstream>
#include <string>
#include <vector>

namespace tarvelle::test {

struct CliRun
{
    int code = -1;
    std::string out;
    std::string err;
};

/// RunCli with these arguments and standard input, capturing both outputs.
inline CliRun RunTarvelleCli(const cli::Args& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.code = cli::RunCli(args, in, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

/// The text's lines, without their line ends; a last line without one counts too.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace tarvelle::test
