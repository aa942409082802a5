#include "app/startup_guard.h"

#include <QList>
#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace quorvane {
namespace {

// Qt says why it could not load a library only in this category's debug
// output; it is listened to while the guard is armed.
constexpr char kLibraryCategory[] = "qt.core.library";

struct HeldMessage {
    QtMsgType type;
    QString category;
    QString message;
};
QList<HeldMessage> g_held;
QString g_libraryError; // the first library that was found but could not be loaded, and why
QtMessageHandler g_previousHandler = nullptr;

QString FirstLine(const QString& text)
{
    return text.section(QLatin1Char('\n'), 0, 0).trimmed();
}

// The cause of a failed start in one line: a display that could not be
// opened; else the first complaint of Qt's platform code, and where that is a
// plugin that was found but would not start, why: the loader's reason, or the
// plugin's own last error; else Qt's own message.
QString StartupFailure(const QString& fatal)
{
    for (const HeldMessage& held : std::as_const(g_held)) {
        if (held.category == u"qt.qpa.xcb" && held.message.startsWith(u"could not connect to display")) {
            const QString display = qEnvironmentVariable("DISPLAY");
            if (display.isEmpty())
                return QStringLiteral("no display could be opened: DISPLAY is not set");
            return QStringLiteral("no display could be opened: cannot connect to display \"%1\"")
                .arg(display);
        }
    }
    QString pluginError;
    for (const HeldMessage& held : std::as_const(g_held)) {
        if (held.type == QtCriticalMsg)
            pluginError = FirstLine(held.message);
        if (!held.category.startsWith(u"qt.qpa."))
            continue;
        QString cause = FirstLine(held.message);
        const QString why = g_libraryError.isEmpty() ? pluginError : g_libraryError;
        if (cause.contains(u"even though it was found") && !why.isEmpty()) {
            if (cause.endsWith(QLatin1Char('.')))
                cause.chop(1);
            cause += QStringLiteral(": ") + why;
        }
        return cause;
    }
    return FirstLine(fatal);
}

void GuardHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    if (type == QtDebugMsg && category == QLatin1StringView(kLibraryCategory)) {
        constexpr QStringView kCannotLoad = u"cannot load: ";
        const qsizetype at = message.indexOf(kCannotLoad);
        if (at >= 0 && g_libraryError.isEmpty())
            g_libraryError = FirstLine(message.mid(at + kCannotLoad.size()));
        return; // switched on by the guard alone: not for the user
    }
    if (type != QtFatalMsg) {
        // Held back until start-up succeeds: a failed start shows one line only.
        g_held.append({type, category, message});
        return;
    }
    std::fprintf(stderr, "quorvane: %s\n", qPrintable(StartupFailure(message)));
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

void ArmStartupGuard()
{
    QLoggingCategory::setFilterRules(
        QStringLiteral("%1.debug=true").arg(QLatin1StringView(kLibraryCategory)));
    g_previousHandler = qInstallMessageHandler(GuardHandler);
}

void DisarmStartupGuard()
{
    qInstallMessageHandler(g_previousHandler);
    QLoggingCategory::setFilterRules(QString());
    for (const HeldMessage& held : std::as_const(g_held)) {
        const QMessageLogContext context;
        qt_message_output(held.type, context, held.message);
    }
    g_held.clear();
}

} // namespace quorvane
