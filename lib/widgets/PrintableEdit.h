// An edit box that holds no control characters (bytes below 32 and 127).
#pragma once

#include "Platform.h"

#include <QLineEdit>

namespace tarvelle {

/// Removes the control characters (below 32, and 127) from a text.
QString WithoutControlCharacters(const QString& text);

/// A line edit whose text never holds a control character: one typed and not used by the box as an editing
/// key (Enter, Ctrl+J, …) is refused with the platform's beep, and pasted ones are dropped from the pasted
/// text. Tab and Escape stay commands of the window.
class PrintableEdit : public QLineEdit
{
    Q_OBJECT
public:
    PrintableEdit(Platform& platform, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Platform& platform_;
};

} // namespace tarvelle
