#include "TarvelleMain.h"

#include "AboutPage.h"
#include "QtPlatform.h"
#include "Tarvelle01.h"

#include <QApplication>
#include <QTimer>

namespace tarvelle {

int RunTarvelle(int argc, char** argv, bool quitWhenShown)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvelle"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvelle"));
    QApplication::setDesktopFileName(QStringLiteral("tarvelle"));
    QApplication::setWindowIcon(ProgramIcon());

    QtPlatform platform;
    TfrmBandwidthCalc frmBandwidthCalc(platform);
    platform.setMainWindow(&frmBandwidthCalc);
    frmBandwidthCalc.show();
    if (quitWhenShown) {
        QTimer::singleShot(0, &frmBandwidthCalc, [&frmBandwidthCalc] {
            frmBandwidthCalc.repaint();
            QCoreApplication::quit();
        });
    }
    QApplication::exec();
    return 0;
}

} // namespace tarvelle
