#include "CliRun.h"
#include "JsonParse.h"
#include "JsonWriter.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvelle::test {
namespace {

// ---- The program's own arguments ------------------------------------------------------------------------------

TEST(RunCli, VersionAndHelp)
{
    const CliRun version = RunTarvelleCli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "tarvelle-cli 1.0a\n");
    const CliRun help = RunTarvelleCli({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* word : {"bandwidth", "ip", "passwords", "--version", "--json"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

struct BadCommandCase
{
    const char* name;
    cli::Args args;
};

class RunCliBadCommand : public testing::TestWithParam<BadCommandCase>
{ };

TEST_P(RunCliBadCommand, IsOneLineAndExitCode2)
{
    const CliRun run = RunTarvelleCli(GetParam().args);
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Args, RunCliBadCommand,
                         testing::Values(BadCommandCase {"Nothing", {}}, BadCommandCase {"Unknown", {"subnet"}},
                                         BadCommandCase {"SingularPassword", {"password"}},
                                         BadCommandCase {"CaseMatters", {"IP", "1.2.3.4"}},
                                         BadCommandCase {"ControlCharacters", {"ip\n\r\x1b[2J"}},
                                         BadCommandCase {"Empty", {""}}),
                         RowName());

// ---- Whatever the arguments, a clean end -----------------------------------------------------------------------

TEST(RunCli, OddArgumentsNeverEndBadly)
{
    const std::vector<std::string> pieces {"",
                                           "-",
                                           "--",
                                           "--json",
                                           "--json=",
                                           "=",
                                           "--=x",
                                           "-h",
                                           "--help=1",
                                           "\xFF\xFE",
                                           "\n",
                                           "1e4932",
                                           "--rate",
                                           "--count",
                                           "--seed",
                                           "--solve",
                                           "--length",
                                           "--mode",
                                           "--common",
                                           "1.2.3.4",
                                           "/",
                                           "255.255.255.0",
                                           "-5.300..x",
                                           "rate",
                                           "99999999999999999999999999",
                                           "--tolerance",
                                           "--other-chars",
                                           "0-0",
                                           "off"};
    uint32_t state = 12345;
    const auto next = [&state](size_t n) {
        state = state * 134775813u + 1u;
        return static_cast<size_t>((uint64_t {state} * n) >> 32);
    };
    const char* commands[] = {"ip", "bandwidth", "passwords"};
    for (int round = 0; round < 1500; ++round) {
        cli::Args args {commands[next(3)]};
        const size_t count = next(6);
        for (size_t i = 0; i < count; ++i)
            args.push_back(pieces[next(pieces.size())]);
        // A password run may only make a handful, so that an impossible one cannot sit out the two seconds.
        if (args[0] == std::string("passwords"))
            args.insert(args.end(), {"--length", "1-99", "--mode", "0"});
        const CliRun run = RunTarvelleCli(args, "1.2.3.4\n\xFF\n");
        ASSERT_TRUE(run.code == 0 || run.code == 1 || run.code == 2) << run.code;
        if (run.code == 2) {
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        }
        if (run.code != 2 && std::find(args.begin(), args.end(), "--json") != args.end()
            && std::find(args.begin(), args.end(), "-h") == args.end()) {
            for (const std::string& line : Lines(run.out))
                EXPECT_TRUE(ParseJson(line).has_value()) << line;
        }
    }
}

// ---- JSON strings -------------------------------------------------------------------------------------------------

struct JsonStringCase
{
    const char* name;
    std::string text;
    std::string written; // the JSON text, quotes included
    std::string read; // what a JSON reader makes of it
};

class JsonStrings : public testing::TestWithParam<JsonStringCase>
{ };

TEST_P(JsonStrings, AreEscapedAndReadBack)
{
    std::string json;
    cli::AppendJsonString(json, GetParam().text);
    EXPECT_EQ(json, GetParam().written);
    const std::optional<JsonValue> parsed = ParseJson(json);
    ASSERT_TRUE(parsed.has_value()) << json;
    EXPECT_EQ(parsed->text, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonStrings,
    testing::Values(JsonStringCase {"Plain", "abc", "\"abc\"", "abc"},
                    JsonStringCase {"QuoteAndBackslash", "a\"b\\c", "\"a\\\"b\\\\c\"", "a\"b\\c"},
                    JsonStringCase {"ShortEscapes", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\"", "\b\f\n\r\t"},
                    JsonStringCase {"OtherControls", std::string("\0\x01\x1f", 3), "\"\\u0000\\u0001\\u001f\"",
                                    std::string("\0\x01\x1f", 3)},
                    JsonStringCase {"DeleteAndSlashStay", "\x7f/", "\"\x7f/\"", "\x7f/"},
                    JsonStringCase {"Utf8PassesThrough", "\xC2\xB1 \xE2\x82\xAC \xF0\x9F\x98\x80",
                                    "\"\xC2\xB1 \xE2\x82\xAC \xF0\x9F\x98\x80\"",
                                    "\xC2\xB1 \xE2\x82\xAC \xF0\x9F\x98\x80"},
                    JsonStringCase {"StrayBytes", "a\xFF\x80z", "\"a\\ufffd\\ufffdz\"", "a\xEF\xBF\xBD\xEF\xBF\xBDz"},
                    JsonStringCase {"CutSequence", "\xE2\x82", "\"\\ufffd\\ufffd\"", "\xEF\xBF\xBD\xEF\xBF\xBD"},
                    JsonStringCase {"Overlong", "\xC0\xAF", "\"\\ufffd\\ufffd\"", "\xEF\xBF\xBD\xEF\xBF\xBD"},
                    JsonStringCase {"Surrogate", "\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\"",
                                    "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
                    JsonStringCase {"BeyondUnicode", "\xF4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\"",
                                    "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}),
    RowName());

TEST(JsonObject, KeepsMembersInOrderWithTheirKinds)
{
    const std::string json = cli::JsonObject()
                                 .text("b", "x")
                                 .optionalText("none", std::nullopt)
                                 .optionalText("some", std::string("y"))
                                 .integer("n", -42)
                                 .boolean("t", true)
                                 .boolean("f", false)
                                 .raw("a", "[1, 2]")
                                 .close();
    const std::optional<JsonValue> parsed = ParseJson(json);
    ASSERT_TRUE(parsed.has_value()) << json;
    EXPECT_EQ(parsed->keys(), (std::vector<std::string> {"b", "none", "some", "n", "t", "f", "a"}));
    EXPECT_EQ(parsed->find("none")->kind, JsonValue::Kind::Null);
    EXPECT_EQ(parsed->find("some")->text, "y");
    EXPECT_EQ(parsed->find("n")->integer(), -42);
    EXPECT_TRUE(parsed->find("t")->boolean);
    EXPECT_FALSE(parsed->find("f")->boolean);
    EXPECT_EQ(parsed->find("a")->items.size(), 2u);
    EXPECT_TRUE(ParseJson(cli::JsonObject().close()).has_value());
}

} // namespace
} // namespace tarvelle::test
