// A long run of the real main window: a million refresh ticks while the
// date moves on a day at a time through years, switching province now and
// then. The captions must stay right and memory must not grow.
#include "timetable/date_line.h"
#include "timetable/timetable.h"
#include "ui/common/classic_fonts.h"
#include "ui/main/form1.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <fstream>

using namespace quorvane;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true; // its quarantine holds on to freed memory
#else
constexpr bool kSanitized = false;
#endif

constexpr long kTicks = 1'000'000;
constexpr int kTicksPerDay = 200; // 1,000,000 ticks: 5,000 days, nearly 14 years

class SteppingClock : public Clock {
public:
    QDate Today() const override { return today; }
    QDate today{2026, 12, 1};
};

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        InstallClassicFontSubstitutes();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void millionTicks()
    {
        SteppingClock clock;
        Form1 form(clock);
        form.show();
        auto* timer1 = form.findChild<QTimer*>("Timer1");
        auto* option1 = form.findChild<QRadioButton*>("Option1");
        auto* option2 = form.findChild<QRadioButton*>("Option2");
        auto* dateLabel = form.findChild<QLabel*>("Label2");
        QList<QLabel*> timeLabels;
        for (const char* name : {"Label9", "Label10", "Label11", "Label12", "Label13", "Label14"})
            timeLabels << form.findChild<QLabel*>(name);
        QVERIFY(timer1 && option1 && option2 && dateLabel);

        long baseline = -1;
        int daysChecked = 0;
        for (long tick = 1; tick <= kTicks; ++tick) {
            if (tick % kTicksPerDay == 0)
                clock.today = clock.today.addDays(1);
            if (tick % 7919 == 0) // now and then, the user switches province
                (option1->isChecked() ? option2 : option1)->click();

            const bool eastern = timer1->isActive();
            eastern ? form.Timer1_Timer() : form.Timer2_Timer();

            if (tick % kTicksPerDay == 0 || tick % 7919 == 1) {
                const auto expected = LookupTimes(eastern ? Province::Eastern : Province::NonEastern,
                                                  clock.today.month(), clock.today.day());
                QVERIFY(expected.has_value());
                for (int slot = 0; slot < 6; ++slot)
                    QCOMPARE(timeLabels[slot]->text(), QString::fromLatin1((*expected)[slot]));
                QCOMPARE(dateLabel->text(), FormatDateLine(clock.today));
                ++daysChecked;
            }
            if (tick == kTicks / 10) {
                QCoreApplication::processEvents(); // let deferred deletions and repaints run
                baseline = ResidentKilobytes();
            }
        }
        QCoreApplication::processEvents();
        const long end = ResidentKilobytes();
        qInfo("%ld ticks up to %s, %d days checked; resident memory %ld kB after %ld ticks, %ld kB at the end",
              kTicks, qPrintable(clock.today.toString(Qt::ISODate)), daysChecked, baseline, kTicks / 10, end);
        QVERIFY(clock.today.year() >= 2039);
        if (!kSanitized)
            QVERIFY2(end - baseline < 1024, "resident memory grew by a megabyte or more");
    }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
