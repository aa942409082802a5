#include "ui/about/credits.h"

#include <QStringList>

namespace quorvane {

QString CreditsText()
{
    // One entry per line of the credits box; blank entries are spacer lines.
    static const QStringList kLines = {
        QStringLiteral("Programmed and Published by"),
        QStringLiteral("Quorvane Project | quorvane"),
        QStringLiteral("https://quorvane.example.org/"),
        QStringLiteral("https://quorvane.example.net/"),
        QStringLiteral("https://blog.example.org/"),
        QStringLiteral("Get it from Example Files"),
        QStringLiteral("https://files.example.org/"),
        QString(),
        QStringLiteral("Special thanks to"),
        QStringLiteral("Quorvane Timetable Team."),
        QString(),
        QStringLiteral("Thanks to beta testers."),
        QString(),
        QStringLiteral("Downloaded From "),
        QStringLiteral("https://files.example.org/"),
        QString(),
        QStringLiteral("Quorvane for mobile phones"),
        QStringLiteral("https://mobile.example.org/"),
        QStringLiteral("is available now."),
        QString(),
        QStringLiteral("Corrections/Suggestions"),
        QStringLiteral("quorvane@example.org"),
        QString(),
        QStringLiteral("01.01.2025 v.1.0"),
        QString(),
        QStringLiteral("06.12.2026 v.2.0"),
    };

    QString text;
    for (const QString& line : kLines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

} // namespace quorvane
