// Runs tarvelle-cli in-process for the CLI tests, splits what it printed and reads its JSON with nlohmann.
#pragma once

#include "Commands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>
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

/// RunCli with these arguments and standard input, capturing both outputs; clock drives password runs.
inline CliRun RunTarvelleCli(const cli::Args& args, const std::string& input = "", Platform* clock = nullptr,
                             bool errIsTerminal = false)
{
    cli::StringSource in(input, 1000);
    cli::StringSink out;
    cli::StringSink err;
    cli::OutStream outStream(out);
    cli::OutStream errStream(err);
    cli::Console console {in, outStream, errStream, errIsTerminal, clock};
    CliRun run;
    run.code = cli::RunCli(args, console);
    run.out = out.text;
    run.err = err.text;
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

/// One line of --json output read by nlohmann (which throws, failing the test, on anything but JSON).
inline nlohmann::json Json(const std::string& line)
{
    return nlohmann::json::parse(line);
}

/// The object's keys, to compare with the documented ones.
inline std::set<std::string> Keys(const nlohmann::json& object)
{
    std::set<std::string> keys;
    for (const auto& [key, value] : object.items())
        keys.insert(key);
    return keys;
}

/// A bad command line for one command: its arguments after the command's name, and what the complaint must
/// quote.
struct BadUsageCase
{
    const char* name;
    cli::Args args;
    const char* named;
};

/// Runs `tarvelle-cli command args...` and checks it is refused as bad usage: exit code 2, nothing on stdout,
/// one line on stderr that names the command and quotes what was wrong.
inline void ExpectBadUsage(std::string_view command, const BadUsageCase& bad)
{
    cli::Args args;
    // A subcommand such as "ip split" comes as two arguments.
    for (size_t at = 0; at < command.size();) {
        const size_t end = std::min(command.find(' ', at), command.size());
        args.emplace_back(command.substr(at, end - at));
        at = end + 1;
    }
    args.insert(args.end(), bad.args.begin(), bad.args.end());
    const CliRun run = RunTarvelleCli(args);
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_TRUE(run.err.starts_with("tarvelle-cli " + std::string(command) + ": ")) << run.err;
    EXPECT_NE(run.err.find(bad.named), std::string::npos) << run.err;
}

} // namespace tarvelle::test
