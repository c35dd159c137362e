// Where the main window starts: at its laid-out position, moved just enough to lie wholly inside the
// screen's available area when the screen is too small for that position.
#pragma once

#include <QPoint>
#include <QRect>

namespace tarvelle {

/// The top-left corner for a window frame of frame's size wanted at frame's position within available.
QPoint PlaceInside(const QRect& frame, const QRect& available);

} // namespace tarvelle
