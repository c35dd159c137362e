// The program's fonts. The layout was drawn for Arial on a 96-dpi desktop, where the window's 8 points are
// 11 pixels; fontconfig gives Liberation Sans, Arial's metric twin, where Arial itself is not installed.
#pragma once

#include <QFont>

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

} // namespace tarvelle
