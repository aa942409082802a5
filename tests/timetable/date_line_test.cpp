// The date line in the locales of the program's users.
#include "timetable/date_line.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(FormatDateLine, English)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(FormatDateLine(QDate(2026, 12, 5), english), QStringLiteral("Sat 05 Dec 2026"));
    EXPECT_EQ(FormatDateLine(QDate(2028, 2, 29), english), QStringLiteral("Tue 29 Feb 2028"));
    EXPECT_EQ(FormatDateLine(QDate(2027, 1, 1), english), QStringLiteral("Fri 01 Jan 2027"));
    EXPECT_EQ(FormatDateLine(QDate(1999, 9, 9), english), QStringLiteral("Thu 09 Sep 1999"));
    EXPECT_EQ(FormatDateLine(QDate(987, 3, 1), english).right(4), QStringLiteral("0987"));
}

struct LocaleCase {
    const char* name;
    QLocale::Language language;
    QLocale::Territory territory;
    friend void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.name; }
};

class DateLineInLocale : public testing::TestWithParam<LocaleCase> {};

// Built from QLocale's own name and digit functions, piece by piece, so a
// wrong format letter (full names, one-digit day, two-digit year) shows.
TEST_P(DateLineInLocale, HasShortNamesTwoDigitDayAndFourDigitYear)
{
    const QLocale locale(GetParam().language, GetParam().territory);
    auto padded = [&](int value, int width) {
        QString digits = locale.toString(value);
        digits.remove(locale.groupSeparator());
        while (digits.size() < width)
            digits.prepend(locale.zeroDigit());
        return digits;
    };
    for (const QDate date : {QDate(2026, 1, 5), QDate(2026, 12, 31), QDate(2028, 2, 29),
                             QDate(2031, 7, 19)}) {
        const QString weekday = locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        const QString month = locale.monthName(date.month(), QLocale::ShortFormat);
        ASSERT_FALSE(weekday.isEmpty());
        ASSERT_FALSE(month.isEmpty());
        const QString expected = weekday + ' ' + padded(date.day(), 2) + ' ' + month + ' ' +
                                 padded(date.year(), 4);
        EXPECT_EQ(FormatDateLine(date, locale).toStdString(), expected.toStdString())
            << date.toString(Qt::ISODate).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Users, DateLineInLocale,
    testing::Values(LocaleCase{"en_US", QLocale::English, QLocale::UnitedStates},
                    LocaleCase{"en_GB", QLocale::English, QLocale::UnitedKingdom},
                    LocaleCase{"si_LK", QLocale::Sinhala, QLocale::SriLanka},
                    LocaleCase{"ta_LK", QLocale::Tamil, QLocale::SriLanka},
                    LocaleCase{"ar_SA", QLocale::Arabic, QLocale::SaudiArabia},
                    LocaleCase{"C", QLocale::C, QLocale::AnyTerritory}),
    [](const testing::TestParamInfo<LocaleCase>& info) { return std::string(info.param.name); });

TEST(FormatDateLine, FollowsTheDefaultLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Tamil, QLocale::SriLanka));
    const QString tamil = FormatDateLine(QDate(2026, 12, 5));
    QLocale::setDefault(before);
    EXPECT_EQ(tamil, FormatDateLine(QDate(2026, 12, 5), QLocale(QLocale::Tamil, QLocale::SriLanka)));
    EXPECT_NE(tamil, FormatDateLine(QDate(2026, 12, 5), QLocale(QLocale::English)));
}

} // namespace
} // namespace quorvane
