#include "BandwidthPage.h"

namespace tarvelle {

// The page's controls and model binding come with the Bandwidth page's own work.
BandwidthPage::BandwidthPage(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform)
{
    setObjectName(QStringLiteral("tsBandwidth"));
}

// Creation step 1: not built yet (the Bandwidth page fills it in).
void BandwidthPage::SetInitialUnits() { }

// Creation step 6: not built yet (the Bandwidth page fills it in).
void BandwidthPage::RunToleranceChange() { }

} // namespace tarvelle
