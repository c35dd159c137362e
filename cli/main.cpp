// tarvelle-cli: everything happens in RunCli (Commands.h); this hands it the process's arguments and file
// descriptors, and makes Ctrl-C end the program at once with exit code 130.
#include "Commands.h"

#include <csignal>
#include <unistd.h>

namespace {

extern "C" void Interrupted(int)
{
    // Only async-signal-safe calls here: the run is abandoned where it stands.
    static constexpr char kMessage[] = "\ntarvelle-cli: interrupted\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(tarvelle::cli::kExitInterrupted);
}

} // namespace

int main(int argc, char** argv)
{
    struct sigaction action
    { };
    action.sa_handler = Interrupted;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);

    const tarvelle::cli::Args args(argv + 1, argv + argc);
    tarvelle::cli::FdSource in(STDIN_FILENO);
    tarvelle::cli::FdSink out(STDOUT_FILENO);
    tarvelle::cli::FdSink err(STDERR_FILENO);
    return tarvelle::cli::RunCli(args, in, out, err, isatty(STDERR_FILENO) == 1);
}
