#include "ui/main/manual_window_move.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

namespace quorvane {

void ManualWindowMove::Start(QWidget& window)
{
    // One move at a time: a second press while moving restarts from here.
    delete window.findChild<ManualWindowMove*>(QString(), Qt::FindDirectChildrenOnly);
    new ManualWindowMove(window);
}

ManualWindowMove::ManualWindowMove(QWidget& window)
    : QObject(&window), m_window(&window), m_startCursor(QCursor::pos()), m_startWindow(window.pos())
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool ManualWindowMove::eventFilter(QObject* /*watched*/, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (m_window) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            m_window->move(m_startWindow + (mouse->globalPosition().toPoint() - m_startCursor));
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        Finish();
        break;
    default:
        break;
    }
    return false;
}

void ManualWindowMove::Finish()
{
    QCoreApplication::instance()->removeEventFilter(this);
    deleteLater();
}

} // namespace quorvane
