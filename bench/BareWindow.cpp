// The yardstick of the start-up benchmark: a bare Qt window of the program's size with a four-tab control
// and nothing on the pages, started and ended the same way as StartupProbe.
#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(393, 305);
    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(8, 8, 377, 289);
    for (const char* caption : {"About", "Bandwidth Calculator", "IP Calculator", "Password Generator"})
        tabs->addTab(new QWidget, QString::fromLatin1(caption));
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        window.repaint();
        QCoreApplication::quit();
    });
    QApplication::exec();
    return 0;
}
