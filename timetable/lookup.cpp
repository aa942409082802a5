#include "timetable/timetable.h"

namespace quorvane {

std::optional<PrayerTimes> LookupTimes(Province province, int month, int day)
{
    // The tables end February with 25-28; a leap year's 29th shows that row
    // rather than no times at all.
    if (month == 2 && day == 29)
        day = 28;
    if (day < 1 || day > 31)
        return std::nullopt;

    const TimetableRow* match = nullptr;
    for (const TimetableRow& row : TimetableOf(province).rowsOfMonth(month)) {
        if (row.covers(day))
            match = &row; // the last covering row wins
    }
    if (match == nullptr)
        return std::nullopt;

    PrayerTimes times;
    for (std::size_t slot = 0; slot < kSlotCount; ++slot)
        times[slot] = match->times[slot].view();
    return times;
}

} // namespace quorvane
