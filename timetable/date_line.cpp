#include "timetable/date_line.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quorvane {

QString FormatDateLine(const QDate& date, const QLocale& locale)
{
#ifdef Q_OS_WIN
    // The user's own locale, as Windows itself writes it: with ASCII digits,
    // where Qt's system locale (6.4) takes the locale's native ones whatever
    // the user's "Use native digits" says (Tamil digits for ta-LK, "never").
    const SYSTEMTIME day = {
        WORD(date.year()), WORD(date.month()), WORD(date.dayOfWeek() % 7), WORD(date.day()), 0, 0, 0, 0};
    wchar_t text[80] = {};
    if (locale == QLocale::system() && date.isValid()
        && GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &day, L"ddd dd MMM yyyy", text, 80, nullptr) > 0)
        return QString::fromWCharArray(text);
#endif
    return locale.toString(date, QStringLiteral("ddd")) + QLatin1Char(' ')
        + locale.toString(date, QStringLiteral("dd MMM yyyy"));
}

} // namespace quorvane
