#pragma once

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
// without a window manager, say), so the caller moves the window itself.
[[nodiscard]] bool DoDrag(QWidget* p_TheForm, QPointF p_PressAt) noexcept;

// The title label's drag handle: a press of any mouse button calls DoDrag.
// Where the system refuses, the window follows the title's own mouse moves
// until the button is released (the press gave the title the mouse).
class TitleDrag : public QObject {
public:
    TitleDrag(QWidget& window, QWidget* title);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    std::optional<QPoint> m_grip; // the pointer less the window's place, while the program moves it
};

} // namespace quorvane
