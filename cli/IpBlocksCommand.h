// The ip command's block subcommands and what its two line readers share.
//
// `tarvelle-cli ip split` lists a network's subnets as they are computed (so any number of them streams in
// constant memory), `ip range` turns an address range into the fewest CIDR blocks, and `ip merge` summarises
// networks given as arguments or read line by line. RunIpCommand hands them the arguments without the
// subcommand's name; each parses its own options.
#pragma once

#include "Commands.h"

#include <string>
#include <string_view>

namespace tarvelle::cli {

/// One subcommand: its arguments after "ip" with its own name taken out.
using IpSubcommand = int (*)(const Args& args, Console& console);

/// `tarvelle-cli ip split NETWORK (--prefix N | --count N) [--limit N | --all] [-j]`.
int RunIpSplit(const Args& args, Console& console);
/// `tarvelle-cli ip range FIRST-LAST` or `ip range FIRST LAST`.
int RunIpRange(const Args& args, Console& console);
/// `tarvelle-cli ip merge [-j] -` or `ip merge [-j] NETWORK...`.
int RunIpMerge(const Args& args, Console& console);

/// The line without the blanks, tabs and carriage return around it.
std::string_view TrimmedLine(std::string_view line);

/// The complaint about an input line over the reader's bound, quoting its start.
std::string LongLineComplaint(std::string_view start);

} // namespace tarvelle::cli
