#include "app/single_instance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>
#include <QVariantMap>

namespace quorvane {
namespace {

// The panel holds a name on the session bus, the per-user channel through
// which a desktop's programs find each other (Qt's X11 and Wayland plugins
// load QtDBus already). The bus hands a name to one connection at a time and
// takes it back when that process ends, however it ends, so a panel that
// died leaves nothing behind that would stop the next start.
constexpr QLatin1StringView kService("org.example.quorvane.Quorvane");
constexpr QLatin1StringView kPath("/org/example/quorvane/Quorvane");

// The standard interface through which launchers bring a running program
// forward; of it, only Activate is offered.
class Activation : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public slots:
    void Activate(const QVariantMap& /*platformData*/) { BringPanelToFront(); }
};

// One session bus may serve all of a user's sessions (systemd's user bus), so
// the name carries the display the panel is on: two X servers of one user,
// or XWayland beside a Wayland desktop, each have a panel. Elements of a bus
// name allow letters, digits and "_" only; anything else is written _XX.
QString ServiceName()
{
    const QString platform = QGuiApplication::platformName();
    QString display = platform;
    if (platform == u"xcb") {
        display = qEnvironmentVariable("DISPLAY");
        const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
        const qsizetype dot = display.indexOf(QLatin1Char('.'), colon + 1);
        if (colon >= 0 && dot > colon)
            display.truncate(dot); // ":0.0" is the server of ":0"
    } else if (platform == u"wayland") {
        display = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    }
    QString name = kService + QStringLiteral(".on_");
    for (const char c : display.toUtf8()) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            name += QLatin1Char(c);
        else
            name += QStringLiteral("_%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'));
    }
    return name;
}

} // namespace

bool HandedOverToRunningPanel()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false; // no session bus: nothing to find another panel by
    // The call can be answered as soon as the name is ours.
    bus.registerObject(kPath, new Activation, QDBusConnection::ExportAllSlots);
    const QString service = ServiceName();
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        service, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return false;
    // Another panel holds it. A call sent without waiting for a reply (a
    // panel that hangs cannot hang this start); the bus passes a process's
    // messages on in order, so once it has answered the question after it,
    // the call is in the running panel's queue.
    QDBusMessage activate = QDBusMessage::createMethodCall(
        service, kPath, QStringLiteral("org.freedesktop.Application"), QStringLiteral("Activate"));
    activate << QVariantMap();
    activate.setAutoStartService(false);
    bus.send(activate);
    bus.interface()->isServiceRegistered(service);
    return true;
}

} // namespace quorvane

#include "single_instance_unix.moc"
