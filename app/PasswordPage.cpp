#include "PasswordPage.h"

namespace tarvelle {

// The page's controls and model binding come with the Password page's own work.
PasswordPage::PasswordPage(Platform& platform, EntropyPool&, LcgRandom&, QWidget* parent)
    : QWidget(parent), platform_(platform)
{
    setObjectName(QStringLiteral("tsPasswords"));
}

// Creation step 3: not built yet (the Password page fills it in).
void PasswordPage::SetInitialMode() { }

} // namespace tarvelle
