#include "ui/main/window_drag.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#if defined(Q_OS_WIN)
#include "ui/main/win32_caption_drag.h"
#elif defined(QUORVANE_HAVE_XCB)
#include "ui/common/x11.h"

#include <algorithm>
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

// Asks the window manager to run its interactive move (_NET_WM_MOVERESIZE).
// The request names where the button went down, as EWMH wants: the window
// manager then keeps the window under the pointer however far the pointer has
// moved since. False where the window manager does not offer the move.
bool AskWindowManagerToMove(xcb_connection_t* connection, xcb_window_t window, QPoint pressAt)
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
    constexpr uint32_t kNormalSource = 1; // an application's request
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = moveResize;
    message.data.data32[0] = static_cast<uint32_t>(pressAt.x());
    message.data.data32[1] = static_cast<uint32_t>(pressAt.y());
    message.data.data32[2] = kMove;
    message.data.data32[3] = 1; // the left button, whichever was pressed
    message.data.data32[4] = kNormalSource;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}
#endif

bool StartSystemMove(QWidget& window, [[maybe_unused]] QPointF pressAt)
{
#if defined(Q_OS_WIN)
    // Only the Windows platform's window ids are window handles.
    if (QGuiApplication::platformName() == QLatin1StringView("windows"))
        return Win32CaptionDrag(static_cast<std::uintptr_t>(window.winId()));
    return false;
#else
#if defined(QUORVANE_HAVE_XCB)
    if (xcb_connection_t* connection = X11Connection())
        return AskWindowManagerToMove(connection, static_cast<xcb_window_t>(window.winId()),
                                      ServerPixels(pressAt));
#endif
    // Wayland and the rest: the toolkit's own request.
    QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->startSystemMove();
#endif
}

} // namespace

bool DoDrag(QWidget* p_TheForm, QPointF p_PressAt) noexcept
{
    try {
        if (p_TheForm == nullptr || p_TheForm->isMaximized())
            return true;
        return StartSystemMove(*p_TheForm, p_PressAt);
    } catch (...) {
        return true; // a move that cannot start leaves the window where it is
    }
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
    return DoDrag(&m_window, m_window.mapToGlobal(inWindow)); // else Qt delivers the press
#else
    return false;
#endif
}

bool TitleDrag::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const QPointF pressAt = static_cast<QMouseEvent*>(event)->globalPosition();
        m_grip.reset();
        if (!DoDrag(&m_window, pressAt))
            m_grip = pressAt.toPoint() - m_window.pos();
        return true;
    }
    case QEvent::MouseMove:
        if (m_grip)
            m_window.move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - *m_grip);
        return true;
    case QEvent::MouseButtonRelease:
        m_grip.reset();
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace quorvane
