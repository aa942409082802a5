#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace quorvane {

// Where the main window opens: at its designed place when the whole window
// fits inside one screen's available area; otherwise in the bottom-right
// corner of the primary screen's available area, so that a panel with no
// title bar and no taskbar button can never open out of reach.
QPoint ChooseStartPosition(QPoint designed, QSize size, const QList<QRect>& availableAreas,
                           const QRect& primaryArea);

} // namespace quorvane
