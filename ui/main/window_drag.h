#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPoint>

#include <optional>

class QPointF;
class QWidget;

namespace quorvane {

// Hands a move of the window over to the system, as a press on a title bar
// would; p_PressAt is where that press was, in Qt's global coordinates. A
// maximized window is not moved. Nothing escapes: every error is swallowed.
// Returns false only where the system refused to run the move (an X server
// without a window manager, say, or Windows for any but the left button), so
// the caller moves the window itself.
[[nodiscard]] bool DoDrag(QWidget* p_TheForm, QPointF p_PressAt) noexcept;

// The title label's drag handle: a press of any mouse button calls DoDrag.
// Where the system refuses, the window follows the title's own mouse moves
// until the button is released (the press gave the title the mouse).
//
// On Windows a left press on the title is handled as the system hands it
// over, before Qt queues it: the system's move starts from the place of the
// message being handled, and by the time Qt delivers the press, later mouse
// moves may have been taken from the queue.
class TitleDrag : public QObject, public QAbstractNativeEventFilter {
public:
    TitleDrag(QWidget& window, QWidget* title);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    QWidget* m_title;
    std::optional<QPoint> m_grip; // the pointer less the window's place, while the program moves it
};

} // namespace quorvane
