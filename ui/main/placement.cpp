#include "ui/main/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace quorvane {

QPoint ReachablePosition(QPoint wanted, QSize size, const QList<QRect>& availableAreas,
                         const QRect& primaryArea)
{
    const QRect window(wanted, size);
    for (const QRect& area : availableAreas) {
        if (area.contains(window))
            return wanted;
    }
    // Bottom-right corner; a screen smaller than the window keeps its top-left
    // corner visible, where the title (the drag handle) is.
    const int x = std::max(primaryArea.left(), primaryArea.right() + 1 - size.width());
    const int y = std::max(primaryArea.top(), primaryArea.bottom() + 1 - size.height());
    return {x, y};
}

void PlaceWithinReach(QWidget& window, QPoint wanted)
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    window.move(
        ReachablePosition(wanted, window.size(), areas, primary ? primary->availableGeometry() : QRect()));
}

void KeepWithinReach(QWidget& window)
{
    // Looked at once the event loop is back: a change comes as a burst of
    // signals, and Qt settles its windows' screens after them.
    const auto recheck = [&window] {
        QTimer::singleShot(0, &window, [&window] { PlaceWithinReach(window, window.pos()); });
    };
    const auto watch = [&window, recheck](const QScreen* screen) {
        QObject::connect(screen, &QScreen::availableGeometryChanged, &window, recheck);
    };
    for (const QScreen* screen : QGuiApplication::screens())
        watch(screen);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &window,
                     [watch, recheck](const QScreen* screen) {
                         watch(screen);
                         recheck();
                     });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, &window, recheck);
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, &window, recheck);
}

} // namespace quorvane
