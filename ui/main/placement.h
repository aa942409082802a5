#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace quorvane {

// A panel with no title bar and no taskbar button is reachable only where it
// stands. It stands where it wants to when the whole window lies inside one
// screen's available area; otherwise in the bottom-right corner of the primary
// screen's available area.
QPoint ReachablePosition(QPoint wanted, QSize size, const QList<QRect>& availableAreas,
                         const QRect& primaryArea);

// Moves the window to the wanted place, or where ReachablePosition puts it on
// the screens as they are now.
void PlaceWithinReach(QWidget& window, QPoint wanted);

// From now on, whenever the screens change (a monitor unplugged or added, a
// panel of the desktop resized), a window no longer wholly inside one screen
// goes back within reach; one still wholly visible stays where it is.
void KeepWithinReach(QWidget& window);

} // namespace quorvane
