#include "PrintableEdit.h"

#include <QKeyEvent>
#include <QValidator>

namespace tarvelle {

namespace {

bool IsControl(QChar ch)
{
    return ch.unicode() < 32 || ch.unicode() == 127;
}

// Takes the control characters out of every change of the text, typed, pasted or dropped, and keeps the
// cursor after the same characters as before.
class PrintableValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        QString kept;
        int keptPos = 0;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (IsControl(input[i]))
                continue;
            kept += input[i];
            if (i < pos)
                ++keptPos;
        }
        if (kept.size() != input.size()) {
            input = kept;
            pos = keptPos;
        }
        return Acceptable;
    }
};

} // namespace

QString WithoutControlCharacters(const QString& text)
{
    QString kept;
    for (const QChar ch : text)
        if (!IsControl(ch))
            kept += ch;
    return kept;
}

PrintableEdit::PrintableEdit(Platform& platform, QWidget* parent) : QLineEdit(parent), platform_(platform)
{
    setValidator(new PrintableValidator(this));
}

void PrintableEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    // Tab (with Ctrl it changes the page) and Escape are commands of the window, not characters typed.
    const bool command
        = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Escape;
    const bool control = typed.size() == 1 && IsControl(typed.front()) && !command;
    QLineEdit::keyPressEvent(event);
    // The box uses Backspace, Delete and its clipboard and editing chords; any other control key would type
    // a character that must not enter it.
    if (control && !event->isAccepted())
        platform_.beep();
}

} // namespace tarvelle
