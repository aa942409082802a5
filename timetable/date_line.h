#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace quorvane {

// "Sat 05 Dec 2026": abbreviated weekday, two-digit day, abbreviated month and
// four-digit year, with the names (and digits) of the given locale; on Windows,
// for the user's locale, as Windows writes it.
QString FormatDateLine(const QDate& date, const QLocale& locale = QLocale());

} // namespace quorvane
