#include "ui/main/start_position.h"

#include <algorithm>

namespace quorvane {

QPoint ChooseStartPosition(QPoint designed, QSize size, const QList<QRect>& availableAreas,
                           const QRect& primaryArea)
{
    const QRect window(designed, size);
    for (const QRect& area : availableAreas) {
        if (area.contains(window))
            return designed;
    }
    // Bottom-right corner; a screen smaller than the window keeps its top-left
    // corner visible, where the title (the drag handle) is.
    const int x = std::max(primaryArea.left(), primaryArea.right() + 1 - size.width());
    const int y = std::max(primaryArea.top(), primaryArea.bottom() + 1 - size.height());
    return {x, y};
}

} // namespace quorvane
