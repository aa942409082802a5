#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPoint>

#include <optional>

class QPointF;
class QWidget;

namespace quorvane {

// What became of a press that asked for a move.
enum class Drag {
    Refused, // the system would not move the window: the caller moves it itself
    Over, // nothing more to do: the system's move ran to its end, or none was wanted
    Asked, // the window manager was asked and takes the pointer over (X11); see CancelDrag
};

// Hands a move of the window over to the system, as a press of p_Button on a
// title bar would; p_PressAt is where that press was, in Qt's global
// coordinates. A maximized window is not moved. Nothing escapes: every error
// is swallowed. Refused where the system would not run the move (an X server
// without a window manager, say, or Windows for any but the left button).
[[nodiscard]] Drag DoDrag(QWidget* p_TheForm, QPointF p_PressAt, Qt::MouseButton p_Button) noexcept;

// For a move DoDrag asked for, when the press's release reaches the program
// after all: the window manager had not taken the pointer yet, and its move
// would wait for a release that has gone by. Calls that move off.
void CancelDrag(QWidget* p_TheForm) noexcept;

// The title label's drag handle: a press of any mouse button calls DoDrag.
// Where the system refuses, the window follows the title's own mouse moves
// until the button is released (the press gave the title the mouse); where
// the release comes to the title after the window manager was asked, the
// move is called off (a quick click: the press and release in one burst).
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
    bool m_asked = false; // the window manager was asked to move the window, and no release came since
};

} // namespace quorvane
