// Writes a PNG of each page of the main window, filled in with an example, into the folder named on the
// command line, for the README. Run offscreen: QT_QPA_PLATFORM=offscreen tarvelle-screenshots docs
#include "HembryTabs.h"
#include "QtPlatform.h"
#include "Tarvelle01.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>

#include <iostream>

namespace {

void Type(QWidget& window, const char* name, const char* text)
{
    if (auto* edit = window.findChild<QLineEdit*>(QLatin1String(name))) {
        edit->setFocus();
        // Keys go to whichever box has the focus, as the IP boxes move it on a full stop.
        for (const char* c = text; *c; ++c)
            QTest::keyClick(QApplication::focusWidget(), *c);
    }
}

void Click(QWidget& window, const char* name)
{
    if (auto* button = window.findChild<QAbstractButton*>(QLatin1String(name)))
        QTest::mouseClick(button, Qt::LeftButton);
}

// What a user would have entered on each page before taking the picture.
void FillIn(tarvelle::TfrmBandwidthCalc& window, int page)
{
    switch (page) {
    case 1:
        Type(window, "tbDS", "100");
        Type(window, "tbTm", "2");
        Click(window, "btnBW");
        break;
    case 2:
        Type(window, "tbIP1", "192.168.1.10");
        break;
    case 3:
        Click(window, "btnGo");
        break;
    default:
        break;
    }
}

} // namespace

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
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);

    const char* names[] = {"about", "bandwidth", "ip", "passwords"};
    for (int i = 0; i < window.pcMain->count(); ++i) {
        window.pcMain->setCurrentIndex(i);
        QApplication::processEvents();
        FillIn(window, i);
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
