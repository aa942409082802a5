#include "app/display_guard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace quorvane {
namespace {

QtMessageHandler g_previousHandler = nullptr;

struct HeldMessage {
    QtMsgType type;
    QString message;
};
QList<HeldMessage> g_held;

void GuardHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        // Held back until start-up succeeds: a failed start shows one line only.
        Q_UNUSED(context);
        g_held.append({type, message});
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        std::fputs("quorvane: no display could be opened: DISPLAY is not set\n", stderr);
    else
        std::fprintf(stderr, "quorvane: no display could be opened: cannot connect to display \"%s\"\n",
                     display.constData());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

void ArmDisplayGuard()
{
    g_previousHandler = qInstallMessageHandler(GuardHandler);
}

void DisarmDisplayGuard()
{
    qInstallMessageHandler(g_previousHandler);
    for (const HeldMessage& held : std::as_const(g_held)) {
        const QMessageLogContext context;
        qt_message_output(held.type, context, held.message);
    }
    g_held.clear();
}

} // namespace quorvane
