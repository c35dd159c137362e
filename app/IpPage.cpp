#include "IpPage.h"

namespace tarvelle {

// The page's controls and model binding come with the IP page's own work.
IpPage::IpPage(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform)
{
    setObjectName(QStringLiteral("tsIP"));
}

// Creation step 2: not built yet (the IP page fills it in).
void IpPage::SetInitialLists() { }

} // namespace tarvelle
