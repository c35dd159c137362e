// The window's own light colours, fixed whatever the desktop's theme.
//
// The window's colour is fixed by design, so every colour drawn on it is fixed too: LightPalette gives each
// role of every colour group a value of a light window, and UseLightPalette puts it on the main window and
// on the parts Qt does not let inherit it (the pick lists' fields and their drop-down lists).
#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace tarvelle {

/// A light palette around the window colour: text black, edit boxes and lists white, buttons in the window
/// colour, selection in the toolkit's usual blue; disabled texts grey.
QPalette LightPalette(const QColor& window);

/// Gives `window` LightPalette(windowColor) and the pick lists inside it a white field and drop-down list.
void UseLightPalette(QWidget* window, const QColor& windowColor);

} // namespace tarvelle
