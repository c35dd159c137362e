// Runs tarvelle-cli in-process for the CLI tests and splits what it printed.
#pragma once

#include "Commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
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

/// A bad command line for one sub-command: its arguments after the sub-command's name, and what the complaint
/// must quote.
struct BadUsageCase
{
    const char* name;
    cli::Args args;
    const char* named;
};

/// Runs `tarvelle-cli command args...` and checks it is refused as bad usage: exit code 2, nothing on stdout,
/// one line on stderr that names the sub-command and quotes what was wrong.
inline void ExpectBadUsage(std::string_view command, const BadUsageCase& bad)
{
    cli::Args args = bad.args;
    args.insert(args.begin(), std::string(command));
    const CliRun run = RunTarvelleCli(args);
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_TRUE(run.err.starts_with("tarvelle-cli " + std::string(command) + ": ")) << run.err;
    EXPECT_NE(run.err.find(bad.named), std::string::npos) << run.err;
}

} // namespace tarvelle::test
