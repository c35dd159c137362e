// The window under a dark desktop theme: every text keeps the colours of the light window and stays readable.
#include "FakePlatform.h"
#include "HembryTabs.h"
#include "PasswordPageModel.h"
#include "Tarvelle01.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace tarvelle {
namespace {

// WCAG 2 relative luminance of an sRGB colour.
double Luminance(const QColor& c)
{
    const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What qt6ct's "darker" scheme or a GTK dark theme gives the application.
QPalette DarkDesktopPalette()
{
    QPalette dark(QColor(240, 240, 240), QColor(50, 50, 50));
    dark.setColor(QPalette::Base, QColor(36, 36, 36));
    dark.setColor(QPalette::AlternateBase, QColor(60, 60, 60));
    dark.setColor(QPalette::Text, QColor(240, 240, 240));
    dark.setColor(QPalette::Button, QColor(60, 60, 60));
    dark.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    dark.setColor(QPalette::Highlight, QColor(20, 80, 130));
    dark.setColor(QPalette::HighlightedText, QColor(240, 240, 240));
    dark.setColor(QPalette::Link, QColor(120, 170, 255));
    return dark;
}

// One text the window draws: its colour and the colour it is drawn on.
struct Ink
{
    std::string where;
    QColor text;
    QColor background;
    bool enabled;
};

// The colour a widget that fills no background of its own is drawn on.
QColor Backdrop(const QWidget* w)
{
    while (w->parentWidget() && !w->autoFillBackground())
        w = w->parentWidget();
    return w->palette().color(QPalette::Window);
}

// The colours of a widget's text in the group it is drawn with; NoRole for a text on its parent's background.
void AddInk(std::vector<Ink>& inks, const QString& where, const QWidget* w, QPalette::ColorRole text,
            QPalette::ColorRole ground)
{
    const QPalette::ColorGroup group = w->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor background = ground == QPalette::NoRole ? Backdrop(w) : w->palette().color(group, ground);
    inks.push_back({where.toStdString(), w->palette().color(group, text), background, w->isEnabled()});
}

// Every text of every page, as the style draws it, and the tab captions and password characters the program
// paints itself.
std::vector<Ink> WindowInks(TfrmBandwidthCalc& window)
{
    std::vector<Ink> inks;
    for (const QWidget* w : window.pcMain->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QString name = w->objectName();
        if (qobject_cast<const QLabel*>(w) || qobject_cast<const QCheckBox*>(w)) {
            AddInk(inks, name, w, QPalette::WindowText, QPalette::NoRole);
        } else if (qobject_cast<const QPushButton*>(w)) {
            AddInk(inks, name, w, QPalette::ButtonText, QPalette::Button);
        } else if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w)) {
            AddInk(inks, name, w, QPalette::Text, QPalette::Base);
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            AddInk(inks, name, combo, QPalette::ButtonText, QPalette::Button);
            AddInk(inks, name + QStringLiteral(" drop-down"), combo->view(), QPalette::Text, QPalette::Base);
        }
    }
    const QColor tabFill = ColorFromBgr(kWindowColor);
    inks.push_back({"tab captions", window.pcMain->palette().color(QPalette::WindowText), tabFill, true});
    for (const char32_t ch : {U'A', U'a', U'0', U'!'})
        for (const QColor& item : {QColor(Qt::white), QColor(221, 221, 221)})
            inks.push_back({"password character " + std::string(1, static_cast<char>(ch)),
                            ColorFromBgr(CharacterColor(ch)), item, true});
    return inks;
}

// The class colour green (0, 170, 0) is fixed by the design for the Numeric label and the digits of the list;
// it measures 2.0:1 on the window's grey and 3.1:1 on white, light theme or dark.
bool FixedByDesign(const Ink& ink)
{
    return ink.text == ColorFromBgr(kNumericColor);
}

TEST(DarkDesktop, EveryTextKeepsTheLightWindowsColoursAndContrast)
{
    test::FakePlatform platform;
    std::vector<Ink> light;
    {
        TfrmBandwidthCalc window(platform);
        window.show();
        light = WindowInks(window);
    }
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(DarkDesktopPalette());
    std::vector<Ink> dark;
    {
        TfrmBandwidthCalc window(platform);
        window.show();
        QApplication::processEvents();
        dark = WindowInks(window);
    }
    QApplication::setPalette(desktop);

    ASSERT_EQ(dark.size(), light.size());
    EXPECT_GT(dark.size(), 90u);
    for (size_t i = 0; i < dark.size(); ++i) {
        const Ink& ink = dark[i];
        EXPECT_EQ(ink.where, light[i].where);
        EXPECT_EQ(ink.text, light[i].text) << ink.where;
        EXPECT_EQ(ink.background, light[i].background) << ink.where;
        // Disabled controls are exempt from the contrast rule.
        if (ink.enabled && !FixedByDesign(ink)) {
            EXPECT_GE(Contrast(ink.text, ink.background), 4.5)
                << ink.where << ": " << ink.text.name().toStdString() << " on " << ink.background.name().toStdString();
        }
    }
}

} // namespace
} // namespace tarvelle
