// Writing the saved password list: the whole file or nothing, never readable by others when new.
#pragma once

#include <optional>
#include <string>

namespace tarvelle {

/// Writes `bytes` to `path` through a temporary file in the same folder that then takes the file's place, so
/// a failed write leaves any old file as it was. A new file gets mode 0600 whatever the umask; a replaced file
/// keeps its mode and, where the process may set them, its owner and group. A symbolic link anywhere on the
/// path is followed only where the kernel's rule for shared folders lets this user follow it: a link in a
/// sticky world-writable folder that belongs neither to the user nor to the folder's owner is refused.
/// Returns the system's error text, or the reason for the refusal, on failure.
std::optional<std::string> WriteListFile(const std::string& path, const std::string& bytes);

} // namespace tarvelle
