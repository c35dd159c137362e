#include "LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tarvelle {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent)
{
    // Tab reaches the link, a click does not move the focus: a mouse user sees no frame appear.
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Like a button: letting go outside the label cancels the click.
    const bool clickHere = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (clickHere)
        click();
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first press of a double click has already made a click; the second one opens nothing more.
    pressed_ = false;
    event->accept();
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            event->accept();
            click();
            return;
        }
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

} // namespace tarvelle
