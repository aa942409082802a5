// The timetables and the lookup; the refresh tick and the date line are tried in the main window.
#include "timetable/timetable.h"

#include <QDate>

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

// Every day of a leap year has its one row, but where the September and December rows overlap (the
// later one wins) and on 29 February, which has none of its own; no text has a leading zero or a one-digit
// minute. Worked examples: a month's turn, open rows, a later row winning, and no row out of range (the
// main window's tests show 1 January of both provinces and the leap day).
TEST(LookupTimes, EveryDayOfTheYearAndWorkedExamples)
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
    const std::tuple<Province, int, int, Texts> days[] = {
        {Province::Eastern, 1, 31, {"5 . 05", "6 . 24", "12 . 19", "3 . 41", "6 . 13", "7 . 26"}},
        {Province::Eastern, 2, 1, {"5 . 05", "6 . 24", "12 . 20", "3 . 42", "6 . 14", "7 . 26"}},
        {Province::Eastern, 9, 1, {"4 . 41", "5 . 57", "12 . 06", "3 . 10", "6 . 12", "7 . 23"}},
        {Province::NonEastern, 9, 2, {"4 . 47", "6 . 03", "12 . 12", "3 . 16", "6 . 18", "7 . 28"}},
        {Province::Eastern, 12, 21, {"4 . 50", "6 . 12", "12 . 04", "3 . 26", "5 . 55", "7 . 10"}},
        {Province::Eastern, 12, 22, {"4 . 50", "6 . 12", "12 . 05", "3 . 26", "5 . 56", "7 . 11"}},
        {Province::Eastern, 13, 1, {}},
        {Province::NonEastern, 12, 32, {}},
        {Province::Eastern, 1, 0, {}}};
    for (const auto& [province, month, day, expected] : days)
        EXPECT_EQ(Looked(province, month, day), expected) << month << "/" << day;
}

} // namespace
} // namespace quorvane
