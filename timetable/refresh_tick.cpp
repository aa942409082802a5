#include "timetable/refresh_tick.h"

#include "timetable/date_line.h"

namespace quorvane {

void RefreshTick(Province province, TimetableDisplay& display, const Clock& clock)
{
    const QDate today = clock.Today(); // read once: the times and the date line agree
    if (const auto times = LookupTimes(province, today.month(), today.day())) {
        for (PrayerSlot slot : kAllSlots)
            display.SetTimeCaption(slot, (*times)[static_cast<std::size_t>(slot)]);
    }
    display.SetDateCaption(FormatDateLine(today));
}

} // namespace quorvane
