#include "WindowPalette.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace tarvelle {

namespace {

// The bevels, frames and disabled fields keep the shades the toolkit's own light palette gives them, so the
// controls look as they do on a light desktop.
constexpr QRgb kLight = 0xFFFFFF;
constexpr QRgb kMidlight = 0xCACACA;
constexpr QRgb kMid = 0xB8B8B8;
constexpr QRgb kDark = 0x9F9F9F;
constexpr QRgb kShadow = 0x767676;
constexpr QRgb kDisabledField = 0xEFEFEF;
constexpr QRgb kDisabledText = 0x787878;
constexpr QRgb kHighlight = 0x308CC6;
constexpr QRgb kDisabledHighlight = 0x919191;

// Qt hands a pick list's drop-down list the palette of menus (the desktop's) each time it is shown; this
// puts the pick list's own palette back before it is drawn.
class PopupPalette : public QObject
{
public:
    PopupPalette(QComboBox* combo, QWidget* popup) : QObject(combo), combo_(combo), popup_(popup)
    {
        popup->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == popup_ && event->type() == QEvent::Show)
            popup_->setPalette(combo_->palette());
        return QObject::eventFilter(watched, event);
    }

private:
    QComboBox* combo_;
    QWidget* popup_;
};

} // namespace

QPalette LightPalette(const QColor& window)
{
    QPalette pal;
    const auto all = [&pal](QPalette::ColorRole role, const QColor& color) { pal.setColor(role, color); };
    all(QPalette::Window, window);
    all(QPalette::WindowText, Qt::black);
    all(QPalette::Base, Qt::white);
    all(QPalette::AlternateBase, QColor(0xF7F7F7));
    all(QPalette::Text, Qt::black);
    all(QPalette::Button, window);
    all(QPalette::ButtonText, Qt::black);
    all(QPalette::BrightText, Qt::white);
    all(QPalette::Light, QColor(kLight));
    all(QPalette::Midlight, QColor(kMidlight));
    all(QPalette::Mid, QColor(kMid));
    all(QPalette::Dark, QColor(kDark));
    all(QPalette::Shadow, QColor(kShadow));
    all(QPalette::Highlight, QColor(kHighlight));
    all(QPalette::HighlightedText, Qt::white);
    all(QPalette::Link, QColor(0, 0, 255));
    all(QPalette::LinkVisited, QColor(255, 0, 255));
    all(QPalette::ToolTipBase, QColor(255, 255, 220));
    all(QPalette::ToolTipText, Qt::black);
    all(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, QColor(kDisabledText));
    pal.setColor(QPalette::Disabled, QPalette::Base, QColor(kDisabledField));
    pal.setColor(QPalette::Disabled, QPalette::Highlight, QColor(kDisabledHighlight));
    return pal;
}

void UseLightPalette(QWidget* window, const QColor& windowColor)
{
    const QPalette pal = LightPalette(windowColor);
    window->setPalette(pal);
    // A pick list draws its field in the button colour; here it is the white of the edit boxes.
    QPalette field = pal;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        field.setColor(group, QPalette::Button, Qt::white);
    for (QComboBox* combo : window->findChildren<QComboBox*>()) {
        combo->setPalette(field);
        // Set on the list itself, its colours win over those Qt gives the drop-down around it.
        combo->view()->setPalette(field);
        new PopupPalette(combo, combo->view()->window());
    }
}

} // namespace tarvelle
