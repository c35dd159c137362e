#include "AboutPage.h"

namespace tarvelle {

// The page's controls come with the About page's own work; until then it is an empty page.
AboutPage::AboutPage(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform)
{
    setObjectName(QStringLiteral("tsAbout"));
}

} // namespace tarvelle
