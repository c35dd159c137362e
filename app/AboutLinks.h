// The About page's link click, apart from the toolkit.
//
// AboutPage's link handlers (Label6Click, Label40Click, Label42Click) each pass their own fixed web address
// here; the platform opens it in the user's browser.
#pragma once

#include "Platform.h"

#include <string>

namespace tarvelle {

/// Opens a web address for a link click: the main window takes no input while the platform opens it and is
/// enabled again whatever the outcome.
inline void OpenWebLink(Platform& platform, const std::string& address)
{
    platform.setMainWindowEnabled(false);
    // A browser that fails to start is not worth a message: the user can simply click again.
    static_cast<void>(platform.openUrl(address));
    platform.setMainWindowEnabled(true);
}

} // namespace tarvelle
