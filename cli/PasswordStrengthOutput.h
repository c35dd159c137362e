// tarvelle-cli passwords --strength: the strength of the options' passwords (PasswordStrength.h) instead of
// the passwords, as lines of text or one JSON object.
#pragma once

#include "Commands.h"
#include "PasswordComposer.h"

namespace tarvelle::cli {

/// Prints the strength of the passwords a run with settings would make; returns the exit code: 1 when no
/// password can be made.
int PrintPasswordStrength(const TPasswordSettings& settings, bool json, Console& console);

} // namespace tarvelle::cli
