#pragma once

#include "timetable/timetable.h"

#include <QDate>
#include <QString>

#include <string_view>

namespace quorvane {

// What a refresh tick needs of the main window: two writes, nothing read back.
class TimetableDisplay {
public:
    virtual ~TimetableDisplay() = default;
    virtual void SetTimeCaption(PrayerSlot slot, std::string_view text) = 0;
    virtual void SetDateCaption(const QString& text) = 0;
};

// Where a tick reads today's local date; tests put a clock of their own here.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate Today() const = 0;
};

class SystemClock final : public Clock {
public:
    QDate Today() const override { return QDate::currentDate(); }
};

// One refresh: today's times of the province (left as they are when no row
// covers today) and the date line of the default locale.
void RefreshTick(Province province, TimetableDisplay& display, const Clock& clock);

} // namespace quorvane
