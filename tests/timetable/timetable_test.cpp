// The timetables, the lookup, the date line and the refresh tick.
#include "timetable/date_line.h"
#include "timetable/refresh_tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace quorvane {
namespace {

using Texts = std::vector<std::string>;

Texts Looked(Province province, int month, int day)
{
    const auto times = LookupTimes(province, month, day);
    return times ? Texts(times->begin(), times->end()) : Texts();
}

// Every day of a leap year has its one row, but where the September and
// December rows overlap (the later one wins, below) and on 29 February, which
// has none of its own. No text has a leading zero or a one-digit minute.
TEST(Timetable, EveryDayOfTheYearHasItsRow)
{
    const std::regex form(R"(([1-9]|1[0-2]) \. [0-5][0-9])");
    for (const Province province : {Province::Eastern, Province::NonEastern}) {
        for (const TimetableRow& row : TimetableOf(province).rows())
            for (const TimeText& text : row.times)
                EXPECT_TRUE(std::regex_match(std::string(text.view()), form)) << text.view();
        for (QDate d(2028, 1, 1); d.year() == 2028; d = d.addDays(1)) {
            const auto rows = TimetableOf(province).rowsOfMonth(d.month());
            const auto covering = std::count_if(rows.begin(), rows.end(),
                                                [&](auto& r) { return r.covers(d.day()); });
            const bool overlap = (d.month() == 9 && d.day() > 1) || (d.month() == 12 && d.day() > 21);
            const bool leapDay = d.month() == 2 && d.day() == 29;
            EXPECT_EQ(covering, leapDay ? 0 : overlap ? 2 : 1) << d.toString(Qt::ISODate).toStdString();
            EXPECT_EQ(Looked(province, d.month(), d.day()).size(), kSlotCount)
                << d.toString(Qt::ISODate).toStdString();
        }
    }
}

// The worked examples: open rows, a later row winning, the leap day, and no row.
TEST(LookupTimes, WorkedExamples)
{
    const struct {
        Province province;
        int month, day;
        Texts expected;
    } days[] = {{Province::Eastern, 1, 1, {"4 . 54", "6 . 16", "12 . 09", "3 . 30", "6 . 00", "7 . 15"}},
                {Province::NonEastern, 1, 1, {"5 . 00", "6 . 22", "12 . 15", "3 . 36", "6 . 06", "7 . 21"}},
                {Province::Eastern, 2, 29, {"5 . 03", "6 . 19", "12 . 19", "3 . 39", "6 . 17", "7 . 27"}},
                {Province::NonEastern, 2, 29, {"5 . 09", "6 . 25", "12 . 25", "3 . 45", "6 . 23", "7 . 33"}},
                {Province::Eastern, 9, 1, {"4 . 41", "5 . 57", "12 . 06", "3 . 10", "6 . 12", "7 . 23"}},
                {Province::Eastern, 9, 2, {"4 . 41", "5 . 57", "12 . 06", "3 . 10", "6 . 12", "7 . 22"}},
                {Province::Eastern, 12, 21, {"4 . 50", "6 . 12", "12 . 04", "3 . 26", "5 . 55", "7 . 10"}},
                {Province::Eastern, 12, 22, {"4 . 50", "6 . 12", "12 . 05", "3 . 26", "5 . 56", "7 . 11"}},
                {Province::Eastern, 13, 1, {}},
                {Province::NonEastern, 12, 32, {}},
                {Province::Eastern, 1, 0, {}}};
    for (const auto& day : days)
        EXPECT_EQ(Looked(day.province, day.month, day.day), day.expected) << day.month << "/" << day.day;
}

TEST(DateLine, ShortNamesTwoDigitDayFourDigitYearInTheLocale)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates), tamil(QLocale::Tamil, QLocale::SriLanka);
    EXPECT_EQ(FormatDateLine(QDate(2026, 12, 5), english), QStringLiteral("Sat 05 Dec 2026"));
    EXPECT_EQ(FormatDateLine(QDate(987, 3, 1), english), QStringLiteral("Thu 01 Mar 0987"));
    const QString line = FormatDateLine(QDate(2026, 12, 5), tamil);
    EXPECT_TRUE(line.startsWith(tamil.dayName(6, QLocale::ShortFormat) + ' ')) << line.toStdString();
    EXPECT_TRUE(line.contains(' ' + tamil.monthName(12, QLocale::ShortFormat) + ' ')) << line.toStdString();
    QLocale::setDefault(tamil);
    EXPECT_EQ(FormatDateLine(QDate(2026, 12, 5)), line);
}

struct Recorder : TimetableDisplay, Clock {
    void SetTimeCaption(PrayerSlot slot, std::string_view text) override { times[std::size_t(slot)] = text; }
    void SetDateCaption(const QString& text) override { date = text; }
    QDate Today() const override { return today; }
    Texts times = Texts(kSlotCount, "unset");
    QString date;
    QDate today;
};

// A tick writes the six times in slot order and the date line; where no row
// covers the date (a clock that cannot tell it), it writes the date line alone.
TEST(RefreshTick, WritesTheTimesAndTheDateLine)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Recorder window;
    window.today = QDate(2027, 1, 31);
    RefreshTick(Province::NonEastern, window, window);
    EXPECT_EQ(window.times, Looked(Province::NonEastern, 1, 31));
    EXPECT_EQ(window.date, QStringLiteral("Sun 31 Jan 2027"));
    window.today = QDate();
    window.date.clear();
    RefreshTick(Province::Eastern, window, window);
    EXPECT_EQ(window.times, Looked(Province::NonEastern, 1, 31));
    EXPECT_EQ(window.date, FormatDateLine(QDate()));
}

} // namespace
} // namespace quorvane
