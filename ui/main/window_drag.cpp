#include "ui/main/window_drag.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <utility>

#if defined(Q_OS_WIN)
#include "ui/main/win32_caption_drag.h"
#elif defined(QUORVANE_HAVE_XCB)
#include "ui/common/x11.h"

#include <algorithm>
#include <bit>
#endif

namespace quorvane {
namespace {

#if defined(QUORVANE_HAVE_XCB) && !defined(Q_OS_WIN)
// Qt's global coordinates are device-independent pixels, scaled about the
// top-left corner of the screen they lie on; the X server counts its own.
QPoint ServerPixels(QPointF global)
{
    const QScreen* screen = QGuiApplication::screenAt(global.toPoint());
    if (screen == nullptr)
        return global.toPoint();
    const QPointF origin = screen->geometry().topLeft();
    return (origin + (global - origin) * screen->devicePixelRatio()).toPoint();
}

// X's number for a mouse button of Qt's. Past the middle one, X counts from 8
// (4 to 7 are the wheel's) where Qt's bits go on from the fourth.
uint32_t X11Button(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    case Qt::RightButton:
        return 3;
    default:
        return static_cast<uint32_t>(std::countr_zero(static_cast<unsigned>(button))) + 5;
    }
}

// Sends the window manager a _NET_WM_MOVERESIZE message about the window, as
// EWMH wants it sent: to the root, from an application (source 1).
void SendMoveResize(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window, QPoint at,
                    uint32_t action, uint32_t button)
{
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = X11Atom(connection, "_NET_WM_MOVERESIZE");
    message.data.data32[0] = static_cast<uint32_t>(at.x());
    message.data.data32[1] = static_cast<uint32_t>(at.y());
    message.data.data32[2] = action;
    message.data.data32[3] = button;
    message.data.data32[4] = 1;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

// Asks the window manager to run its interactive move (_NET_WM_MOVERESIZE).
// The request names where the button went down, as EWMH wants: the window
// manager then keeps the window under the pointer however far the pointer has
// moved since. It names the button pressed, whose release ends the move.
// False where the window manager does not offer the move.
//
// Not QWindow::startSystemMove: Qt 6.4's request names the left button
// whatever was pressed (the window manager then waits, after a right or middle
// press, for a left release that never comes), and starts from the pointer's
// latest place, not the press's.
bool AskWindowManagerToMove(xcb_connection_t* connection, xcb_window_t window, QPoint pressAt,
                            Qt::MouseButton button)
{
    const xcb_window_t root = X11RootOf(connection, window);
    if (root == XCB_WINDOW_NONE)
        return false;
    const xcb_atom_t moveResize = X11Atom(connection, "_NET_WM_MOVERESIZE");
    const std::vector<xcb_atom_t> supported = X11AtomList(connection, root,
                                                          X11Atom(connection, "_NET_SUPPORTED"));
    if (moveResize == XCB_ATOM_NONE
        || std::find(supported.begin(), supported.end(), moveResize) == supported.end())
        return false;

    // The press grabbed the pointer for us; the window manager needs it.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    constexpr uint32_t kMove = 8; // _NET_WM_MOVERESIZE_MOVE
    SendMoveResize(connection, root, window, pressAt, kMove, X11Button(button));
    return true;
}
#endif

Drag StartSystemMove(QWidget& window, [[maybe_unused]] QPointF pressAt,
                     [[maybe_unused]] Qt::MouseButton button)
{
#if defined(Q_OS_WIN)
    // Only the Windows platform's window ids are window handles; the system's
    // move has ended when Win32CaptionDrag returns.
    if (QGuiApplication::platformName() == QLatin1StringView("windows"))
        return Win32CaptionDrag(static_cast<std::uintptr_t>(window.winId())) ? Drag::Over : Drag::Refused;
    return Drag::Refused;
#else
#if defined(QUORVANE_HAVE_XCB)
    if (xcb_connection_t* connection = X11Connection())
        return AskWindowManagerToMove(connection, static_cast<xcb_window_t>(window.winId()),
                                      ServerPixels(pressAt), button)
            ? Drag::Asked
            : Drag::Refused;
#endif
    // Wayland and the rest: the toolkit's own request.
    QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->startSystemMove() ? Drag::Over : Drag::Refused;
#endif
}

} // namespace

Drag DoDrag(QWidget* p_TheForm, QPointF p_PressAt, Qt::MouseButton p_Button) noexcept
{
    try {
        if (p_TheForm == nullptr || p_TheForm->isMaximized())
            return Drag::Over;
        return StartSystemMove(*p_TheForm, p_PressAt, p_Button);
    } catch (...) {
        return Drag::Over; // a move that cannot start leaves the window where it is
    }
}

void CancelDrag([[maybe_unused]] QWidget* p_TheForm) noexcept
{
#if defined(QUORVANE_HAVE_XCB) && !defined(Q_OS_WIN)
    // EWMH's _NET_WM_MOVERESIZE_CANCEL, for this very race; sent only after a
    // request of our own, since it calls off whatever move the window manager runs.
    constexpr uint32_t kCancel = 11;
    try {
        xcb_connection_t* connection = X11Connection();
        if (p_TheForm == nullptr || connection == nullptr)
            return;
        const auto window = static_cast<xcb_window_t>(p_TheForm->winId());
        const xcb_window_t root = X11RootOf(connection, window);
        if (root != XCB_WINDOW_NONE)
            SendMoveResize(connection, root, window, QPoint(), kCancel, 0);
    } catch (...) {
        // the move runs on until the next click ends it
    }
#endif
}

TitleDrag::TitleDrag(QWidget& window, QWidget* title)
    : QObject(title),
      m_window(window),
      m_title(title)
{
    title->installEventFilter(this);
#if defined(Q_OS_WIN)
    QCoreApplication::instance()->installNativeEventFilter(this);
#endif
}

bool TitleDrag::nativeEventFilter([[maybe_unused]] const QByteArray& eventType,
                                  [[maybe_unused]] void* message, qintptr*)
{
#if defined(Q_OS_WIN)
    const WId handle = m_window.internalWinId();
    const auto pressAt = handle != 0 && eventType == "windows_generic_MSG"
        ? Win32LeftPressAt(message, static_cast<std::uintptr_t>(handle))
        : std::nullopt;
    if (!pressAt)
        return false;
    const QPointF inWindow = QPointF(pressAt->first, pressAt->second) / m_window.devicePixelRatioF();
    if (m_window.childAt(inWindow.toPoint()) != m_title)
        return false;
    // Else Qt delivers the press.
    return DoDrag(&m_window, m_window.mapToGlobal(inWindow), Qt::LeftButton) != Drag::Refused;
#else
    return false;
#endif
}

bool TitleDrag::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPointF pressAt = press->globalPosition();
        m_grip.reset();
        const Drag drag = DoDrag(&m_window, pressAt, press->button());
        if (drag == Drag::Refused)
            m_grip = pressAt.toPoint() - m_window.pos();
        m_asked = drag == Drag::Asked;
        return true;
    }
    case QEvent::MouseMove:
        if (m_grip)
            m_window.move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - *m_grip);
        return true;
    case QEvent::MouseButtonRelease:
        m_grip.reset();
        if (std::exchange(m_asked, false))
            CancelDrag(&m_window);
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace quorvane
