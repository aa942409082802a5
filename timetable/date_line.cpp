#include "timetable/date_line.h"

namespace quorvane {

QString FormatDateLine(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QStringLiteral("ddd")) + QLatin1Char(' ')
        + locale.toString(date, QStringLiteral("dd MMM yyyy"));
}

} // namespace quorvane
