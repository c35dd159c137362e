#include "CliRun.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tarvelle::test {
namespace {

// ---- The program's own arguments and the option conventions ---------------------------------------------------

TEST(RunCli, VersionAndHelp)
{
    const CliRun version = RunTarvelleCli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string(cli::kVersionText) + "\n");
    const CliRun help = RunTarvelleCli({"-h"});
    EXPECT_EQ(help.code, 0);
    for (const char* word : {"bandwidth", "ip", "passwords", "--json", "130", "no compatibility mode"})
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
                                         BadCommandCase {"CaseMatters", {"IP", "1.2.3.4"}},
                                         BadCommandCase {"ControlCharacters", {"ip\n\r\x1b[2J"}},
                                         BadCommandCase {"UnknownLongOption", {"ip", "--jsn", "1.2.3.4"}},
                                         BadCommandCase {"UnknownShortOption", {"ip", "-x", "1.2.3.4"}},
                                         BadCommandCase {"ValueOnAFlag", {"ip", "--json=yes", "1.2.3.4"}},
                                         BadCommandCase {"MissingValue", {"passwords", "-n"}},
                                         BadCommandCase {"OptionsEndedBeforeJ", {"ip", "--", "-j"}}),
                         RowName());

struct ConventionCase
{
    const char* name;
    cli::Args args;
    size_t lines; // lines on stdout, each JSON
};

class RunCliConvention : public testing::TestWithParam<ConventionCase>
{ };

TEST_P(RunCliConvention, IsUnderstood)
{
    const CliRun run = RunTarvelleCli(GetParam().args);
    EXPECT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), GetParam().lines) << run.out;
    for (const std::string& line : lines)
        EXPECT_NO_THROW(Json(line)) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Options, RunCliConvention,
    testing::Values(ConventionCase {"ShortJ", {"ip", "-j", "1.2.3.4"}, 1},
                    ConventionCase {"FlagAfterOperand", {"ip", "1.2.3.4/8", "--json"}, 1},
                    ConventionCase {"Abbreviated", {"ip", "--js", "1.2.3.4"}, 1},
                    ConventionCase {"EqualsValues", {"passwords", "--count=1", "--seed=5", "--json"}, 1},
                    ConventionCase {"SeparateValues", {"passwords", "-n", "1", "--seed", "5", "-j"}, 1},
                    ConventionCase {"NegativeValue", {"bandwidth", "--rate", "-10", "--time", "2", "-j"}, 1}),
    RowName());

// ---- Failures of the standard streams, with the program as a process ------------------------------------------

struct ProcessRun
{
    int code = -1;
    std::string err;
    long maxRssKb = 0;
};

// Runs tarvelle-cli with args; `setUp` arranges the child's stdin and stdout before it starts.
ProcessRun RunProcess(const cli::Args& args, const std::function<void()>& setUp)
{
    int errPipe[2];
    EXPECT_EQ(pipe(errPipe), 0);
    const pid_t child = fork();
    if (child == 0) {
        dup2(errPipe[1], STDERR_FILENO);
        close(errPipe[0]);
        close(errPipe[1]);
        setUp();
        std::vector<char*> argv {const_cast<char*>(TARVELLE_CLI_PATH)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(TARVELLE_CLI_PATH, argv.data());
        _exit(127);
    }
    close(errPipe[1]);
    ProcessRun run;
    char block[4096];
    for (ssize_t got; (got = read(errPipe[0], block, sizeof block)) > 0;)
        run.err.append(block, static_cast<size_t>(got));
    close(errPipe[0]);
    int status = 0;
    rusage usage {};
    wait4(child, &status, 0, &usage);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.maxRssKb = usage.ru_maxrss;
    return run;
}

void Redirect(const char* path, int flags, int fd)
{
    const int opened = open(path, flags);
    dup2(opened, fd);
    close(opened);
}

// A file of `lines` addresses, open for reading at its start.
int AddressFile(int lines)
{
    char path[] = "/tmp/tarvelle-cli-test-XXXXXX";
    const int fd = mkstemp(path);
    unlink(path);
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "10." + std::to_string(i % 256) + ".1.1/16\n";
    EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    lseek(fd, 0, SEEK_SET);
    return fd;
}

struct StreamFailureCase
{
    const char* name;
    cli::Args args;
    std::function<void()> setUp;
    const char* reason;
};

class RunCliStreamFailure : public testing::TestWithParam<StreamFailureCase>
{ };

TEST_P(RunCliStreamFailure, IsOneLineAndExitCode1)
{
    const ProcessRun run = RunProcess(GetParam().args, GetParam().setUp);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find(GetParam().reason), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Process, RunCliStreamFailure,
    testing::Values(StreamFailureCase {"DevFull",
                                       {"passwords", "-n", "20000", "--mode", "random"},
                                       [] { Redirect("/dev/full", O_WRONLY, STDOUT_FILENO); },
                                       "No space left on device"},
                    StreamFailureCase {
                        "ClosedStdout", {"ip", "1.2.3.4"}, [] { close(STDOUT_FILENO); }, "Bad file descriptor"},
                    StreamFailureCase {"DirectoryStdin",
                                       {"ip", "-"},
                                       [] { Redirect("/tmp", O_RDONLY | O_DIRECTORY, STDIN_FILENO); },
                                       "Is a directory"},
                    StreamFailureCase {"ClosedStdin", {"ip", "-"}, [] { close(STDIN_FILENO); }, "Bad file descriptor"},
                    StreamFailureCase {"BrokenPipe",
                                       {"ip", "-", "--json"},
                                       [] {
                                           int out[2];
                                           if (pipe(out) != 0)
                                               _exit(126);
                                           close(out[0]);
                                           dup2(out[1], STDOUT_FILENO);
                                           signal(SIGPIPE, SIG_IGN);
                                           dup2(AddressFile(20000), STDIN_FILENO);
                                       },
                                       "Broken pipe"}),
    RowName());

TEST(RunCliProcess, AFailedWriteStopsTheReading)
{
    const int input = AddressFile(200000);
    const off_t size = lseek(input, 0, SEEK_END);
    lseek(input, 0, SEEK_SET);
    const ProcessRun run = RunProcess({"ip", "-", "--json"}, [input] {
        dup2(input, STDIN_FILENO);
        Redirect("/dev/full", O_WRONLY, STDOUT_FILENO);
    });
    EXPECT_EQ(run.code, 1) << run.err;
    // The child shared the open file: its offset tells how far it read.
    EXPECT_LT(lseek(input, 0, SEEK_CUR), size / 2);
    close(input);
}

TEST(RunCliProcess, AnEndlessLineCostsNoMemory)
{
    char path[] = "/tmp/tarvelle-cli-test-XXXXXX";
    const int input = mkstemp(path);
    unlink(path);
    // 64 MiB of NUL bytes without a line end (a sparse file), then one good line.
    constexpr off_t kLong = off_t {64} << 20;
    ASSERT_EQ(pwrite(input, "\n1.2.3.4\n", 9, kLong), 9);
    const auto withInput = [input] {
        lseek(input, 0, SEEK_SET);
        dup2(input, STDIN_FILENO);
        Redirect("/dev/null", O_WRONLY, STDOUT_FILENO);
    };
    const ProcessRun longLine = RunProcess({"ip", "-"}, withInput);
    const ProcessRun shortLine = RunProcess({"ip", "1.2.3.4"}, [] { Redirect("/dev/null", O_WRONLY, STDOUT_FILENO); });
    close(input);
    EXPECT_EQ(longLine.code, 1);
    EXPECT_LT(longLine.maxRssKb - shortLine.maxRssKb, 8 * 1024) << longLine.maxRssKb << " " << shortLine.maxRssKb;
}

TEST(RunCliProcess, CtrlCEndsAtOnceWithExitCode130)
{
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        Redirect("/dev/null", O_WRONLY, STDERR_FILENO);
        execl(TARVELLE_CLI_PATH, TARVELLE_CLI_PATH, "passwords", "-n", "1000000", "--mode", "random", nullptr);
        _exit(127);
    }
    close(out[1]);
    // Its first output shows the run under way, the handler long installed.
    char first[1];
    ASSERT_EQ(read(out[0], first, 1), 1);
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    close(out[0]);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
}

} // namespace
} // namespace tarvelle::test
