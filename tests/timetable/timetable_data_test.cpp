// The built-in tables: shape, coverage, text form and the six-minute rule.
#include "timetable/timetable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

namespace quorvane {
namespace {

constexpr std::array kProvinces = {Province::Eastern, Province::NonEastern};

struct ParsedTime {
    int hour = 0;
    int minute = 0;
};

ParsedTime Parse(std::string_view text)
{
    static const std::regex form(R"(([1-9]|1[0-2]) \. ([0-5][0-9]))");
    std::match_results<std::string_view::const_iterator> m;
    const bool ok = std::regex_match(text.begin(), text.end(), m, form);
    EXPECT_TRUE(ok) << "not a time text: '" << text << "'";
    if (!ok)
        return {};
    return {std::stoi(m[1].str()), std::stoi(m[2].str())};
}

std::string Format(ParsedTime t)
{
    return std::to_string(t.hour) + " . " + (t.minute < 10 ? "0" : "") + std::to_string(t.minute);
}

TEST(TimetableData, RowsPerMonthAndOrder)
{
    constexpr std::array<std::size_t, 12> expected = {11, 5, 9, 8, 7, 7, 6, 8, 9, 7, 6, 13};
    for (Province province : kProvinces) {
        const PrayerTimetable& table = TimetableOf(province);
        EXPECT_EQ(table.rows().size(), 96u);
        for (int month = 1; month <= 12; ++month) {
            const auto rows = table.rowsOfMonth(month);
            EXPECT_EQ(rows.size(), expected[static_cast<std::size_t>(month - 1)]) << month;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i].month, month);
                if (i > 0) {
                    EXPECT_LT(rows[i - 1].firstDay, rows[i].firstDay) << "month " << month;
                }
            }
        }
        EXPECT_TRUE(table.rowsOfMonth(0).empty());
        EXPECT_TRUE(table.rowsOfMonth(13).empty());
    }
}

TEST(TimetableData, OpenEndsAreTheFourListed)
{
    for (Province province : kProvinces) {
        std::vector<std::pair<int, int>> openRows;
        for (const TimetableRow& row : TimetableOf(province).rows()) {
            if (!row.lastDay) {
                openRows.emplace_back(row.month, row.firstDay);
            } else {
                EXPECT_LE(row.firstDay, *row.lastDay);
            }
        }
        const std::vector<std::pair<int, int>> expected = {{3, 31}, {4, 30}, {9, 1}, {12, 21}};
        EXPECT_EQ(openRows, expected);
    }
}

// Every real day is covered; rows overlap only behind the September and
// December open rows; 29 February has no row of its own.
TEST(TimetableData, CoverageOfTheYear)
{
    constexpr std::array<int, 12> daysIn = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (Province province : kProvinces) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= daysIn[static_cast<std::size_t>(month - 1)]; ++day) {
                const auto rows = TimetableOf(province).rowsOfMonth(month);
                const auto covering = std::count_if(rows.begin(), rows.end(),
                                                    [day](const auto& r) { return r.covers(day); });
                int expected = 1;
                if (month == 2 && day == 29)
                    expected = 0;
                else if ((month == 9 && day >= 2) || (month == 12 && day >= 22))
                    expected = 2;
                EXPECT_EQ(covering, expected) << month << "/" << day;
            }
        }
    }
}

TEST(TimetableData, EveryTextHasTheDisplayForm)
{
    for (Province province : kProvinces)
        for (const TimetableRow& row : TimetableOf(province).rows())
            for (const TimeText& time : row.times) {
                const auto t = Parse(time.view());
                EXPECT_EQ(Format(t), time.view()); // no leading zero, two-digit minute
            }
}

// The earliest and latest text of each slot, by province.
TEST(TimetableData, SlotRanges)
{
    struct Range {
        const char* earliest;
        const char* latest;
    };
    const std::array<Range, 6> eastern = {{{"4 . 25", "5 . 05"},
                                           {"5 . 47", "6 . 24"},
                                           {"11 . 50", "12 . 20"},
                                           {"3 . 07", "3 . 42"},
                                           {"5 . 44", "6 . 26"},
                                           {"6 . 56", "7 . 42"}}};
    const std::array<Range, 6> nonEastern = {{{"4 . 31", "5 . 11"},
                                              {"5 . 53", "6 . 30"},
                                              {"11 . 56", "12 . 26"},
                                              {"3 . 13", "3 . 48"},
                                              {"5 . 50", "6 . 32"},
                                              {"7 . 02", "7 . 48"}}};
    for (Province province : kProvinces) {
        const auto& expected = province == Province::Eastern ? eastern : nonEastern;
        for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
            std::vector<std::pair<int, std::string>> minutes;
            for (const TimetableRow& row : TimetableOf(province).rows()) {
                const auto t = Parse(row.times[slot].view());
                minutes.emplace_back(t.hour * 60 + t.minute, std::string(row.times[slot].view()));
            }
            const auto [lo, hi] = std::minmax_element(minutes.begin(), minutes.end());
            EXPECT_EQ(lo->second, expected[slot].earliest) << "slot " << slot;
            EXPECT_EQ(hi->second, expected[slot].latest) << "slot " << slot;
        }
    }
}

TEST(TimetableData, NonEasternIsEasternSixMinutesLater)
{
    const auto eastern = TimetableOf(Province::Eastern).rows();
    const auto nonEastern = TimetableOf(Province::NonEastern).rows();
    ASSERT_EQ(eastern.size(), nonEastern.size());
    for (std::size_t i = 0; i < eastern.size(); ++i) {
        EXPECT_EQ(nonEastern[i].month, eastern[i].month) << "row " << i;
        EXPECT_EQ(nonEastern[i].firstDay, eastern[i].firstDay) << "row " << i;
        EXPECT_EQ(nonEastern[i].lastDay, eastern[i].lastDay) << "row " << i;
        for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
            auto t = Parse(eastern[i].times[slot].view());
            t.minute += 6;
            if (t.minute >= 60) {
                t.minute -= 60;
                ++t.hour;
            }
            EXPECT_EQ(nonEastern[i].times[slot].view(), Format(t)) << "row " << i << " slot " << slot;
        }
    }
}

} // namespace
} // namespace quorvane
