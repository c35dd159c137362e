#include "SpinBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace tarvelle {

SpinBox::SpinBox(SpinBoxModel& model, Platform& platform, QWidget* parent)
    : QAbstractSpinBox(parent), model_(model), platform_(platform)
{
    setAccelerated(false);
    setKeyboardTracking(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, &SpinBox::textEdited);
    sync();
}

void SpinBox::sync()
{
    const QString text = QString::fromStdString(model_.text());
    if (lineEdit()->text() != text) {
        const QSignalBlocker blocker(lineEdit());
        lineEdit()->setText(text);
    }
}

void SpinBox::stepBy(int steps)
{
    model_.step(steps);
    sync();
    lineEdit()->selectAll();
    Q_EMIT edited();
}

void SpinBox::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & Qt::ControlModifier)) {
        const char32_t ch = text.toUcs4().value(0);
        if (!SpinBoxModel::acceptsKey(ch, separator_.unicode())) {
            platform_.beep();
            event->accept();
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void SpinBox::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    model_.focusLost();
    sync();
    Q_EMIT edited();
}

void SpinBox::textEdited(const QString& text)
{
    model_.setText(text.toStdString());
    Q_EMIT edited();
}

} // namespace tarvelle
