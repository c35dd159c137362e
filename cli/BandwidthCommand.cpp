#include "Commands.h"

namespace tarvelle::cli {

int RunBandwidthCommand(const Args&, std::ostream&, std::ostream& err)
{
    err << "tarvelle-cli: this command is not available yet\n";
    return 2;
}

} // namespace tarvelle::cli
