// RefreshTick against a recording window and a clock the test sets.
#include "timetable/refresh_tick.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <map>
#include <string>

namespace quorvane {
namespace {

class RecordingDisplay : public TimetableDisplay {
public:
    void SetTimeCaption(PrayerSlot slot, std::string_view text) override
    {
        times[slot] = std::string(text);
        ++writes;
    }
    void SetDateCaption(const QString& text) override
    {
        date = text.toStdString();
        ++writes;
    }
    std::map<PrayerSlot, std::string> times;
    std::string date;
    int writes = 0;
};

class FixedClock : public Clock {
public:
    QDate Today() const override { return today; }
    QDate today;
};

class RefreshTickTest : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    std::vector<std::string> Times() const
    {
        std::vector<std::string> out;
        for (PrayerSlot slot : kAllSlots)
            out.push_back(display.times.count(slot) ? display.times.at(slot) : "<unset>");
        return out;
    }

    RecordingDisplay display;
    FixedClock clock;
};

TEST_F(RefreshTickTest, WritesAllSixTimesAndTheDateLine)
{
    clock.today = QDate(2027, 1, 1);
    RefreshTick(Province::Eastern, display, clock);
    EXPECT_EQ(Times(), (std::vector<std::string>{"4 . 54", "6 . 16", "12 . 09", "3 . 30", "6 . 00", "7 . 15"}));
    EXPECT_EQ(display.date, "Fri 01 Jan 2027");
    EXPECT_EQ(display.writes, 7);

    RefreshTick(Province::NonEastern, display, clock);
    EXPECT_EQ(Times(), (std::vector<std::string>{"5 . 00", "6 . 22", "12 . 15", "3 . 36", "6 . 06", "7 . 21"}));
    EXPECT_EQ(display.writes, 14); // written again even where unchanged
}

TEST_F(RefreshTickTest, DateChangeShowsAtTheNextTick)
{
    clock.today = QDate(2027, 1, 31);
    RefreshTick(Province::Eastern, display, clock);
    EXPECT_EQ(Times().front(), "5 . 05");
    EXPECT_EQ(Times()[2], "12 . 19");
    EXPECT_EQ(display.date, "Sun 31 Jan 2027");

    clock.today = QDate(2027, 2, 1); // midnight passed between two ticks
    RefreshTick(Province::Eastern, display, clock);
    EXPECT_EQ(Times()[2], "12 . 20");
    EXPECT_EQ(display.date, "Mon 01 Feb 2027");
}

// A clock that cannot tell the date finds no row: the times stay as they
// are, and the date line is still written.
TEST_F(RefreshTickTest, NoRowLeavesTheTimesAlone)
{
    clock.today = QDate(2027, 6, 1);
    RefreshTick(Province::Eastern, display, clock);
    const auto before = Times();
    const int writesBefore = display.writes;

    clock.today = QDate();
    RefreshTick(Province::Eastern, display, clock);
    EXPECT_EQ(Times(), before);
    EXPECT_EQ(display.writes, writesBefore + 1);
}

} // namespace
} // namespace quorvane
