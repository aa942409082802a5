// Cost of one whole refresh tick on the real main window: the clock read, the
// lookup, six time captions and the date caption written to shown labels.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "timetable/refresh_tick.h"
#include "ui/common/classic_fonts.h"
#include "ui/main/form1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>

#include <cstdlib>

namespace {

// A clock that either stays on one date (the steady state: 86,399 ticks of
// every 86,400) or alternates between two dates with different rows and date
// lines, so that every tick really changes every caption.
class BenchClock final : public quorvane::Clock {
public:
    QDate Today() const override
    {
        if (!alternate)
            return kFirst;
        m_second = !m_second;
        return m_second ? kSecond : kFirst;
    }

    static inline const QDate kFirst {2026, 12, 5}; // Sat, December row 4-6
    static inline const QDate kSecond {2026, 6, 15}; // Mon, a June row
    bool alternate = false;

private:
    mutable bool m_second = false;
};

BenchClock g_clock;
quorvane::Form1* g_form = nullptr;

QString DateCaption()
{
    const auto* label = g_form->findChild<QLabel*>(QStringLiteral("Label2"));
    return label ? label->text() : QString();
}

// Skips the case unless two ticks in a row leave different (alternate) or
// equal (steady) date captions: the loop must measure what it claims to.
bool CheckCaptions(benchmark::State& state, bool alternate)
{
    g_clock.alternate = alternate;
    g_form->Timer1_Timer();
    const QString before = DateCaption();
    g_form->Timer1_Timer();
    if ((before != DateCaption()) != alternate) {
        state.SkipWithError("the date caption did not behave as the case needs");
        return false;
    }
    QCoreApplication::processEvents();
    return true;
}

// The tick alone (the repaint it schedules runs later, in the event loop).
// Steady decides the target; DateChanges shows what a changed row and date cost.
void BM_Tick(benchmark::State& state, bool alternate)
{
    if (!CheckCaptions(state, alternate))
        return;
    for (auto _ : state)
        g_form->Timer1_Timer();
    QCoreApplication::processEvents();
}
BENCHMARK_CAPTURE(BM_Tick, DateChanges, true);
BENCHMARK_CAPTURE(BM_Tick, Steady, false);

} // namespace

int main(int argc, char* argv[])
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    quorvane::InstallClassicFontSubstitutes();
    quorvane::Form1 form(g_clock);
    g_form = &form;
    form.move(quorvane::Form1::kDesignedPosition);
    form.show();
    QCoreApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
