// The two built-in prayer timetables of Sri Lanka and the lookup of one day's times.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quorvane {

enum class Province { Eastern, NonEastern };

// The six displayed times, in display order (top to bottom).
enum class PrayerSlot { Fajr, SunRise, Luhar, Asar, Magrib, Isha };

inline constexpr std::size_t kSlotCount = 6;
inline constexpr std::array<PrayerSlot, kSlotCount> kAllSlots = {PrayerSlot::Fajr,   PrayerSlot::SunRise,
                                                                 PrayerSlot::Luhar,  PrayerSlot::Asar,
                                                                 PrayerSlot::Magrib, PrayerSlot::Isha};
inline constexpr std::size_t kRowsPerTimetable = 96;

// One time as display text, "4 . 54" or "12 . 09": kept in place so that rows
// can be built (and shifted by six minutes) at compile time.
class TimeText {
public:
    static constexpr std::size_t kCapacity = 7;

    constexpr TimeText() = default;
    constexpr TimeText(std::string_view text) // NOLINT: implicit from a literal is the point
    {
        if (text.size() > kCapacity)
            throw "time text too long"; // compile-time error in constant evaluation
        for (std::size_t i = 0; i < text.size(); ++i)
            m_chars[i] = text[i];
        m_length = static_cast<std::uint8_t>(text.size());
    }
    constexpr TimeText(const char* text)
        : TimeText(std::string_view(text))
    {
    }

    constexpr std::string_view view() const { return {m_chars.data(), m_length}; }
    friend constexpr bool operator==(const TimeText& a, const TimeText& b) { return a.view() == b.view(); }

private:
    std::array<char, kCapacity> m_chars {};
    std::uint8_t m_length = 0;
};

// A stretch of days of one month and the six times shown on those days.
struct TimetableRow {
    int month = 0; // 1 to 12
    int firstDay = 0; // inclusive
    std::optional<int> lastDay; // inclusive; empty: open to the end of the month
    std::array<TimeText, kSlotCount> times {};

    constexpr bool covers(int day) const { return day >= firstDay && (!lastDay || day <= *lastDay); }
};

// One province's rows in table order, indexed by month so a lookup only
// touches the rows of its own month.
class PrayerTimetable {
public:
    using Rows = std::array<TimetableRow, kRowsPerTimetable>;

    constexpr explicit PrayerTimetable(const Rows& rows)
        : m_rows(rows)
    {
        std::size_t index = 0;
        for (int month = 1; month <= 12; ++month) {
            m_monthStart[static_cast<std::size_t>(month)] = index;
            while (index < m_rows.size() && m_rows[index].month == month)
                ++index;
        }
        m_monthStart[13] = index;
        if (index != m_rows.size())
            throw "rows must stand in month order, January to December";
    }

    constexpr std::span<const TimetableRow> rows() const { return m_rows; }

    // The month's rows in table order; empty for a month outside 1 to 12.
    constexpr std::span<const TimetableRow> rowsOfMonth(int month) const
    {
        if (month < 1 || month > 12)
            return {};
        const auto first = m_monthStart[static_cast<std::size_t>(month)];
        const auto last = m_monthStart[static_cast<std::size_t>(month) + 1];
        return std::span<const TimetableRow>(m_rows).subspan(first, last - first);
    }

private:
    Rows m_rows;
    std::array<std::size_t, 14> m_monthStart {};
};

const PrayerTimetable& TimetableOf(Province province);

using PrayerTimes = std::array<std::string_view, kSlotCount>;

// The times of the effective row for a month and day: the last row of the
// month that covers the day. 29 February is looked up as 28 February, since
// the tables give it no row of its own. A month or day out of range gives no row.
std::optional<PrayerTimes> LookupTimes(Province province, int month, int day);

} // namespace quorvane
