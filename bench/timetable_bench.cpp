// Cost of the timetable core: one day's lookup and the date line.
#include "timetable/date_line.h"
#include "timetable/timetable.h"

#include <benchmark/benchmark.h>

#include <QDate>
#include <QLocale>

namespace {

using quorvane::Province;

void BM_LookupTimes(benchmark::State& state, Province province, int month, int day)
{
    for (auto _ : state) {
        int m = month;
        int d = day;
        benchmark::DoNotOptimize(m);
        benchmark::DoNotOptimize(d);
        auto times = quorvane::LookupTimes(province, m, d);
        benchmark::DoNotOptimize(times);
    }
}
// January 1 (first row), mid-June, the last day of the 13-row December
// (every row of the month is looked at, the open-ended 21st row included),
// 29 February (read as the 28th), and out-of-range dates.
BENCHMARK_CAPTURE(BM_LookupTimes, Eastern_Jan01, Province::Eastern, 1, 1);
BENCHMARK_CAPTURE(BM_LookupTimes, Eastern_Jun15, Province::Eastern, 6, 15);
BENCHMARK_CAPTURE(BM_LookupTimes, Eastern_Dec31_13rows, Province::Eastern, 12, 31);
BENCHMARK_CAPTURE(BM_LookupTimes, NonEastern_Dec21_13rows, Province::NonEastern, 12, 21);
BENCHMARK_CAPTURE(BM_LookupTimes, Eastern_Feb29, Province::Eastern, 2, 29);
BENCHMARK_CAPTURE(BM_LookupTimes, Invalid_Month13, Province::Eastern, 13, 1);
BENCHMARK_CAPTURE(BM_LookupTimes, Invalid_Day32, Province::Eastern, 1, 32);
BENCHMARK_CAPTURE(BM_LookupTimes, Invalid_Day0, Province::NonEastern, 4, 0);

const QDate kSaturday(2026, 12, 5);

// A locale built once and passed in.
void BM_FormatDateLine(benchmark::State& state, const char* localeName)
{
    const QLocale locale {QString::fromLatin1(localeName)};
    for (auto _ : state) {
        QString line = quorvane::FormatDateLine(kSaturday, locale);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK_CAPTURE(BM_FormatDateLine, en_US, "en_US");
BENCHMARK_CAPTURE(BM_FormatDateLine, si_LK, "si_LK");

// What a refresh tick does: the default argument builds QLocale() per call.
void BM_FormatDateLine_DefaultLocaleEachCall(benchmark::State& state, const char* localeName)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QString::fromLatin1(localeName)));
    for (auto _ : state) {
        QString line = quorvane::FormatDateLine(kSaturday);
        benchmark::DoNotOptimize(line);
    }
    QLocale::setDefault(previous);
}
BENCHMARK_CAPTURE(BM_FormatDateLine_DefaultLocaleEachCall, en_US, "en_US");
BENCHMARK_CAPTURE(BM_FormatDateLine_DefaultLocaleEachCall, si_LK, "si_LK");

// Just the QLocale() construction, for scale.
void BM_DefaultQLocaleConstruction(benchmark::State& state)
{
    for (auto _ : state) {
        QLocale locale;
        benchmark::DoNotOptimize(locale);
    }
}
BENCHMARK(BM_DefaultQLocaleConstruction);

// Just the date part of a tick, QDate::currentDate(), for scale.
void BM_CurrentDate(benchmark::State& state)
{
    for (auto _ : state) {
        QDate today = QDate::currentDate();
        benchmark::DoNotOptimize(today);
    }
}
BENCHMARK(BM_CurrentDate);

} // namespace

BENCHMARK_MAIN();
