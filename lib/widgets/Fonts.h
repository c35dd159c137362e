// The program's fonts and text colours. The layout was drawn for Arial on a 96-dpi desktop, where the window's 8 points
// are 11 pixels; fontconfig gives Liberation Sans, Arial's metric twin, where Arial itself is not installed.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

namespace tarvelle {

/// Arial at a pixel height.
inline QFont ArialFont(int pixelSize, bool bold = false, bool underline = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

/// Gives a widget's text (the WindowText role, or another role such as Text for edit boxes) a colour.
inline void SetTextColor(QWidget* widget, const QColor& color, QPalette::ColorRole role = QPalette::WindowText)
{
    QPalette pal = widget->palette();
    pal.setColor(role, color);
    widget->setPalette(pal);
}

} // namespace tarvelle
