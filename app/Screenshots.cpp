// Writes a PNG of each page of the main window into the folder named on the command line, for the README.
// Run offscreen: QT_QPA_PLATFORM=offscreen tarvelle-screenshots docs
#include "HembryTabs.h"
#include "QtPlatform.h"
#include "Tarvelle01.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <iostream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvelle"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    tarvelle::QtPlatform platform;
    tarvelle::TfrmBandwidthCalc window(platform);
    platform.setMainWindow(&window);
    window.show();

    const char* names[] = {"about", "bandwidth", "ip", "passwords"};
    for (int i = 0; i < window.pcMain->count(); ++i) {
        window.pcMain->setCurrentIndex(i);
        QApplication::processEvents();
        const QString path = folder + QStringLiteral("/screenshot-%1.png").arg(QLatin1String(names[i]));
        if (!window.grab().save(path)) {
            std::cerr << "tarvelle-screenshots: cannot write " << path.toStdString() << '\n';
            return 1;
        }
        std::cout << path.toStdString() << '\n';
    }
    return 0;
}
