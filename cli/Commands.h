// The sub-commands of tarvelle-cli. Each takes the arguments after its name, writes its results to out and
// its complaints to err, and returns the process exit code (0 success, 1 failure, 2 bad usage).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tarvelle::cli {

using Args = std::vector<std::string>;

int RunBandwidthCommand(const Args& args, std::ostream& out, std::ostream& err);
int RunIpCommand(const Args& args, std::ostream& out, std::ostream& err);
int RunPasswordCommand(const Args& args, std::ostream& out, std::ostream& err);

} // namespace tarvelle::cli
