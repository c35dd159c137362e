#include "WindowPlacement.h"

#include <algorithm>

namespace tarvelle {

QPoint PlaceInside(const QRect& frame, const QRect& available)
{
    // Right and bottom first, so that a frame larger than the area keeps its top-left corner visible.
    int x = std::min(frame.left(), available.left() + available.width() - frame.width());
    int y = std::min(frame.top(), available.top() + available.height() - frame.height());
    x = std::max(x, available.left());
    y = std::max(y, available.top());
    return {x, y};
}

} // namespace tarvelle
