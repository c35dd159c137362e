// Tarvelle: start-up. Sets the application title, creates the main window (whose creation handler runs
// before it is shown) and runs the message loop until the window is closed.
#include "AboutPage.h"
#include "QtPlatform.h"
#include "Tarvelle01.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvelle"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvelle"));
    QApplication::setDesktopFileName(QStringLiteral("tarvelle"));
    QApplication::setWindowIcon(tarvelle::ProgramIcon());

    tarvelle::QtPlatform platform;
    tarvelle::TfrmBandwidthCalc frmBandwidthCalc(platform);
    platform.setMainWindow(&frmBandwidthCalc);
    frmBandwidthCalc.show();
    QApplication::exec();
    return 0;
}
