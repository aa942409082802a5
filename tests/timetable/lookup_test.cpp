// LookupTimes: every day of a leap year, the overlap days, the leap day and
// dates that do not exist.
#include "timetable/timetable.h"

#include <gtest/gtest.h>

#include <QDate>

#include <string>
#include <vector>

namespace quorvane {
namespace {

using Texts = std::vector<std::string>;

Texts ToTexts(const std::optional<PrayerTimes>& times)
{
    if (!times)
        return {};
    return Texts(times->begin(), times->end());
}

// The lookup rule done the plain way: walk the whole table, keep the last
// row of the month that covers the day.
Texts ByFullScan(Province province, int month, int day)
{
    const TimetableRow* last = nullptr;
    for (const TimetableRow& row : TimetableOf(province).rows())
        if (row.month == month && row.covers(day))
            last = &row;
    Texts result;
    if (last != nullptr)
        for (const TimeText& t : last->times)
            result.emplace_back(t.view());
    return result;
}

TEST(LookupTimes, EveryDayOfALeapYearMatchesTheTable)
{
    for (Province province : {Province::Eastern, Province::NonEastern}) {
        int days = 0;
        for (QDate d(2028, 1, 1); d.year() == 2028; d = d.addDays(1), ++days) {
            const int lookedUpDay = (d.month() == 2 && d.day() == 29) ? 28 : d.day();
            const Texts expected = ByFullScan(province, d.month(), lookedUpDay);
            ASSERT_EQ(expected.size(), kSlotCount) << d.toString(Qt::ISODate).toStdString();
            EXPECT_EQ(ToTexts(LookupTimes(province, d.month(), d.day())), expected)
                << d.toString(Qt::ISODate).toStdString();
        }
        EXPECT_EQ(days, 366);
    }
}

struct DayCase {
    const char* name;
    Province province;
    int month;
    int day;
    Texts expected;
    friend void PrintTo(const DayCase& c, std::ostream* os) { *os << c.name; }
};

class LookupDay : public testing::TestWithParam<DayCase> {};

TEST_P(LookupDay, ShowsTheEffectiveRow)
{
    const DayCase& c = GetParam();
    EXPECT_EQ(ToTexts(LookupTimes(c.province, c.month, c.day)), c.expected);
}

const Texts kJan1to3 = {"4 . 54", "6 . 16", "12 . 09", "3 . 30", "6 . 00", "7 . 15"};
const Texts kFeb25to28 = {"5 . 03", "6 . 19", "12 . 19", "3 . 39", "6 . 17", "7 . 27"};
const Texts kFeb25to28NonEastern = {"5 . 09", "6 . 25", "12 . 25", "3 . 45", "6 . 23", "7 . 33"};

INSTANTIATE_TEST_SUITE_P(
    Days, LookupDay,
    testing::Values(
        DayCase{"Jan01", Province::Eastern, 1, 1, kJan1to3},
        DayCase{"Jan01NonEastern", Province::NonEastern, 1, 1,
                {"5 . 00", "6 . 22", "12 . 15", "3 . 36", "6 . 06", "7 . 21"}},
        DayCase{"Jan31", Province::Eastern, 1, 31, {"5 . 05", "6 . 24", "12 . 19", "3 . 41", "6 . 13", "7 . 26"}},
        DayCase{"Feb01", Province::Eastern, 2, 1, {"5 . 05", "6 . 24", "12 . 20", "3 . 42", "6 . 14", "7 . 26"}},
        DayCase{"Feb28", Province::Eastern, 2, 28, kFeb25to28},
        DayCase{"LeapDayShowsFeb28", Province::Eastern, 2, 29, kFeb25to28},
        DayCase{"LeapDayNonEastern", Province::NonEastern, 2, 29, kFeb25to28NonEastern},
        DayCase{"Mar30", Province::Eastern, 3, 30, {"4 . 50", "6 . 05", "12 . 11", "3 . 19", "6 . 15", "7 . 24"}},
        DayCase{"Mar31OpenRow", Province::Eastern, 3, 31, {"4 . 48", "6 . 04", "12 . 10", "3 . 16", "6 . 14", "7 . 24"}},
        DayCase{"Apr29", Province::Eastern, 4, 29, {"4 . 35", "5 . 53", "12 . 04", "3 . 17", "6 . 13", "7 . 24"}},
        DayCase{"Apr30OpenRow", Province::Eastern, 4, 30, {"4 . 33", "5 . 51", "12 . 03", "3 . 19", "6 . 13", "7 . 25"}},
        DayCase{"Aug24IshaDip", Province::Eastern, 8, 24, {"4 . 40", "5 . 58", "12 . 08", "3 . 19", "6 . 16", "7 . 23"}},
        DayCase{"Sep01OpenRowOnly", Province::Eastern, 9, 1, {"4 . 41", "5 . 57", "12 . 06", "3 . 10", "6 . 12", "7 . 23"}},
        DayCase{"Sep02LaterRowWins", Province::Eastern, 9, 2, {"4 . 41", "5 . 57", "12 . 06", "3 . 10", "6 . 12", "7 . 22"}},
        DayCase{"Sep30LaterRowWins", Province::Eastern, 9, 30, {"4 . 38", "5 . 53", "11 . 57", "3 . 10", "5 . 59", "7 . 08"}},
        DayCase{"Sep01NonEastern", Province::NonEastern, 9, 1, {"4 . 47", "6 . 03", "12 . 12", "3 . 16", "6 . 18", "7 . 29"}},
        DayCase{"Dec21OpenRowOnly", Province::Eastern, 12, 21, {"4 . 50", "6 . 12", "12 . 04", "3 . 26", "5 . 55", "7 . 10"}},
        DayCase{"Dec22LaterRowWins", Province::Eastern, 12, 22, {"4 . 50", "6 . 12", "12 . 05", "3 . 26", "5 . 56", "7 . 11"}},
        DayCase{"Dec31", Province::Eastern, 12, 31, {"4 . 54", "6 . 16", "12 . 09", "3 . 30", "5 . 59", "7 . 14"}},
        DayCase{"Dec31NonEastern", Province::NonEastern, 12, 31, {"5 . 00", "6 . 22", "12 . 15", "3 . 36", "6 . 05", "7 . 20"}},
        // Dates that do not exist: no row, no crash.
        DayCase{"Month0", Province::Eastern, 0, 1, {}},
        DayCase{"Month13", Province::Eastern, 13, 1, {}},
        DayCase{"MonthNegative", Province::NonEastern, -1, 5, {}},
        DayCase{"Day0", Province::Eastern, 1, 0, {}},
        DayCase{"Day32", Province::Eastern, 1, 32, {}},
        DayCase{"Day32OpenRow", Province::Eastern, 12, 32, {}},
        DayCase{"DayHuge", Province::NonEastern, 9, 1000, {}},
        DayCase{"DayNegative", Province::Eastern, 3, -31, {}}),
    [](const testing::TestParamInfo<DayCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvane
