#!/usr/bin/env bash
# Measures what Quorvane costs against its baselines, on a private Xvfb:
#   - label: the bare window with one QLabel showing a prayer time in the
#     panel's prayer font (bench/one_label_window), the floor of any Qt
#     program that draws text;
#   - xclock: `xclock -digital -update 1`, a classic X program that also
#     redraws once a second;
#   - bare: a bare Qt window of the panel's size, flags and place
#     (bench/bare_window), the toolkit's floor, for reference.
# For each program: launch to first painted frame (bench/first_paint_probe,
# X DAMAGE events), proportional memory (Pss) three seconds after the start,
# and CPU time and wakeups (context switches) over some seconds of idle
# running. The programs run interleaved, in rotating order, with the same
# environment. Then the micro-benchmarks (one refresh tick on the real
# window). Prints medians, Quorvane's ratios to the one-label window and to
# xclock as the ratio of the medians with the range (min..max) of the
# per-round ratios, and PASS/MISS per target, decided on the ratio of medians.
#
# Usage: bench/run_cost.sh [--quick] [--idle SECONDS] [--rounds N] [--cold]
#   default: 5 rounds, 60 s idle (about 22 minutes);
#   --quick: 3 rounds, 10 s idle (about 4 minutes);
#   --cold: no unmeasured warm-up start before each measured one (by default
#   there is one, so that start-up is measured with the program's files in
#   the page cache: this machine pages out what is unused for a minute).
# To weigh a change, QUORVANE_BENCH_ALSO="name=/path/to/other/quorvane ..."
# runs more programs in the same rotation and reports them beside Quorvane.
# Builds Release in build/bench (its own build directory). Installs what is
# missing with apt-get (as root or through sudo).
set -euo pipefail
script=$(readlink -f "$0")
cd "$(dirname "$script")/.."
source_dir=$PWD

idle=60
rounds=5
warm=1
settle=3 # seconds from the start to the memory reading (and the idle window)
while [ $# -gt 0 ]; do
    case $1 in
    --quick)
        idle=10
        rounds=3
        ;;
    --idle)
        idle=$2
        shift
        ;;
    --rounds)
        rounds=$2
        shift
        ;;
    --cold) warm=0 ;;
    -h | --help)
        sed -n '2,30p' "$script"
        exit 0
        ;;
    *)
        echo "run_cost: unknown argument $1" >&2
        exit 2
        ;;
    esac
    shift
done

# --- what is needed -------------------------------------------------------
"$source_dir/scripts/setup.sh"
"$source_dir/scripts/install-packages.sh" x11-apps libxcb-damage0-dev

# --- build ----------------------------------------------------------------
build=$source_dir/build/bench
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUORVANE_BUILD_BENCHMARKS=ON -DQUORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "${QUORVANE_BENCH_JOBS:-2}" \
    --target quorvane one_label_qt_window bare_qt_window first_paint_probe tick_bench timetable_bench
quorvane=$build/app/quorvane
label=$build/bench/one_label_qt_window
bare=$build/bench/bare_qt_window
probe=$build/bench/first_paint_probe
for binary in "$quorvane" "$label" "$bare" "$probe"; do
    [ -x "$binary" ] || {
        echo "run_cost: $binary was not built" >&2
        exit 1
    }
done

# Stale system font caches (fonts installed without fc-cache having run since)
# make every text-drawing program rescan the font directories at start, which
# adds seconds to the first paint of Quorvane and the one-label window and
# nothing to the bare window's.
if command -v fc-cache >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ]; then fc-cache; else sudo fc-cache || true; fi
fi

# --- private X server and a clean, equal environment ----------------------
work=$(mktemp -d /tmp/quorvane-cost.XXXXXX)
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
XVFB_PID=
cleanup() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fifo=$work/displayfd
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
XVFB_PID=$!
display=
read -r -t 30 display <"$fifo" || true
[ -n "$display" ] || {
    echo "run_cost: Xvfb did not start" >&2
    exit 1
}

# Same for all: fonts (the system's fontconfig), C.UTF-8, a private
# runtime dir and home, no session bus (so no accessibility bridge and no
# D-Bus autolaunch), no input method.
run_env=(env -i
    PATH=/usr/local/bin:/usr/bin:/bin
    HOME="$work/home"
    XDG_RUNTIME_DIR="$work/runtime"
    DISPLAY=":$display"
    LANG=C.UTF-8
    TZ="${TZ:-Asia/Colombo}"
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
    NO_AT_BRIDGE=1
    QT_QPA_PLATFORM=xcb
)
# For trying a setting on Quorvane alone, e.g. QUORVANE_BENCH_QUORVANE_ENV="QT_NO_GLIB=1".
# shellcheck disable=SC2034 # read by name in measure()
read -r -a quorvane_env <<<"${QUORVANE_BENCH_QUORVANE_ENV:-}"

# --- readings from /proc ----------------------------------------------------
ticks_per_second=$(getconf CLK_TCK)

cpu_ticks() { # utime + stime of the whole process (all threads), in clock ticks
    local stat
    stat=$(cat "/proc/$1/stat") || return 1
    stat=${stat##*) } # after the command name, which may hold spaces
    awk '{ print $12 + $13 }' <<<"$stat"
}
run_ns() { # time on the CPU of all threads, in nanoseconds (schedstat; finer than ticks)
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'
}
switches() { # voluntary + involuntary context switches over all threads
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { s += $2 } END { print s + 0 }'
}
voluntary_switches() { # the voluntary ones only: the program went to sleep and was woken
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches:/ { s += $2 } END { print s + 0 }'
}
pss_kib() {
    awk '/^Pss:/ { print $2 }' "/proc/$1/smaps_rollup"
}
# Pss shares each page among the processes that map it, so it falls while
# other Qt programs run on the machine; Rss does not, and is kept beside it.
rss_kib() {
    awk '/^Rss:/ { print $2 }' "/proc/$1/smaps_rollup"
}

results=$work/results.tsv
columns() { (IFS=$'\t' && echo "$*"); } # one tab-separated line
columns program round first_paint_ms map_ms pss_kib cpu_ms_per_min sched_ms_per_min wakeups_per_min \
    server_cpu_ms_per_min voluntary_per_min rss_kib >"$results"

# Starts the command under the probe in the background; sets probe_pid and pid.
launch() { # output-file error-file extra-env-array-name command...
    local out=$1 err=$2
    local -n launch_env=$3
    shift 3
    pid=
    # Emptied here, before the start: the background shell truncates it only
    # later, and the warm-up's file still names the last program's pid.
    : >"$out"
    "${run_env[@]}" "${launch_env[@]}" "$probe" --timeout-ms 20000 -- "$@" >"$out" 2>"$err" &
    probe_pid=$!
    for _ in $( # the probe prints the pid right after the exec
        seq 200
    ); do
        pid=$(awk '$1 == "pid" { print $2 }' "$out")
        [ -n "$pid" ] && break
        sleep 0.05
    done
    if [ -z "$pid" ]; then
        echo "run_cost: $* did not start" >&2
        cat "$err" >&2
        exit 1
    fi
}

measure() { # name round extra-env-array-name command...
    local name=$1 round=$2 env_name=$3
    shift 3
    local out=$work/probe-$name-$round.out start
    if [ "$warm" = 1 ]; then
        # An unmeasured start first, so that the measured one finds the
        # program's files in the page cache like every start but a cold boot's.
        launch "$work/warm.out" "$work/warm.err" "$env_name" "$@"
        for _ in $(seq 200); do
            grep -q '^first_paint_ms' "$work/warm.out" && break
            sleep 0.05
        done
        kill "$pid" 2>/dev/null || true
        wait "$probe_pid" 2>/dev/null || true
    fi
    start=$(date +%s.%N)
    launch "$out" "$work/probe-$name-$round.err" "$env_name" "$@"
    sleep "$(awk -v s="$start" -v now="$(date +%s.%N)" -v d="$settle" \
        'BEGIN { w = s + d - now; print (w > 0 ? w : 0) }')"
    local pss rss cpu0 ns0 sw0 vol0 srv0 cpu1 ns1 sw1 vol1 srv1
    pss=$(pss_kib "$pid")
    rss=$(rss_kib "$pid")
    local t0 t1
    t0=$(date +%s.%N)
    cpu0=$(cpu_ticks "$pid")
    ns0=$(run_ns "$pid")
    sw0=$(switches "$pid")
    vol0=$(voluntary_switches "$pid")
    srv0=$(cpu_ticks "$XVFB_PID")
    sleep "$idle"
    cpu1=$(cpu_ticks "$pid")
    ns1=$(run_ns "$pid")
    sw1=$(switches "$pid")
    vol1=$(voluntary_switches "$pid")
    srv1=$(cpu_ticks "$XVFB_PID")
    t1=$(date +%s.%N)
    kill "$pid" 2>/dev/null || true
    wait "$probe_pid" 2>/dev/null || true
    local paint map
    paint=$(awk '$1 == "first_paint_ms" { print $2 }' "$out")
    map=$(awk '$1 == "map_ms" { print $2 }' "$out")
    awk -v OFS='\t' -v n="$name" -v r="$round" -v fp="${paint:-nan}" -v mp="${map:-nan}" \
        -v pss="$pss" -v c="$((cpu1 - cpu0))" -v ns="$((ns1 - ns0))" -v sw="$((sw1 - sw0))" \
        -v srv="$((srv1 - srv0))" -v vol="$((vol1 - vol0))" -v rss="$rss" -v hz="$ticks_per_second" \
        -v t0="$t0" -v t1="$t1" 'BEGIN {
            perMin = 60 / (t1 - t0) # the window as it was, a little over the idle seconds
            print n, r, fp, mp, pss, c * 1000 / hz * perMin, ns / 1e6 * perMin, sw * perMin,
                  srv * 1000 / hz * perMin, vol * perMin, rss
        }' >>"$results"
    tail -n 1 "$results"
}

programs=(quorvane label bare xclock)
# shellcheck disable=SC2034 # read by name in measure()
no_env=()
declare -A also_command
read -r -a also <<<"${QUORVANE_BENCH_ALSO:-}"
for entry in "${also[@]}"; do
    programs+=("${entry%%=*}")
    also_command[${entry%%=*}]=${entry#*=}
done
echo
echo "== ${rounds} rounds x ${#programs[@]} programs, ${settle} s start + ${idle} s idle each," \
    "$([ "$warm" = 1 ] && echo "warm starts" || echo "cold starts"), on Xvfb :$display 1024x768"
columns program round paint_ms map_ms pss_kib cpu_ms/min sched_ms/min wakeups/min Xvfb_ms/min \
    voluntary/min rss_kib
for ((round = 1; round <= rounds; round++)); do
    for ((i = 0; i < ${#programs[@]}; i++)); do
        name=${programs[(round - 1 + i) % ${#programs[@]}]}
        case $name in
        quorvane) measure quorvane "$round" quorvane_env "$quorvane" ;;
        label) measure label "$round" no_env "$label" ;;
        bare) measure bare "$round" no_env "$bare" ;;
        xclock) measure xclock "$round" no_env xclock -digital -update 1 ;;
        *) measure "$name" "$round" quorvane_env "${also_command[$name]}" ;;
        esac
    done
done

# --- micro-benchmarks: one refresh tick on the real window --------------------
echo
echo "== micro-benchmarks (offscreen platform)"
repetitions=$((rounds > 3 ? rounds : 3))
tick_csv=$work/tick.csv
# Every repetition goes to the csv (for the range), only the aggregates to the screen.
"${run_env[@]}" QT_QPA_PLATFORM=offscreen "$build/bench/tick_bench" \
    --benchmark_repetitions="$repetitions" --benchmark_display_aggregates_only=true \
    --benchmark_out="$tick_csv" --benchmark_out_format=csv
"${run_env[@]}" "$build/bench/timetable_bench" --benchmark_min_time=0.2

# --- summary --------------------------------------------------------------------
median() { # column program
    awk -F'\t' -v c="$1" -v p="$2" 'NR > 1 && $1 == p && $c != "nan" { print $c }' "$results" |
        sort -g | awk '{ v[NR] = $1 } END {
            if (NR == 0) { print "nan"; exit }
            print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)
        }'
}
# A program's column against a baseline's: prints "ratio min max", the ratio
# of the medians over all rounds and the range of the ratios of the same
# round's readings. Without a baseline, the program's own median and range.
compare() { # column program [baseline]
    awk -F'\t' -v c="$1" -v p="$2" -v b="${3:-}" '
        function median(a, n,   i, j, t) {
            for (i = 2; i <= n; i++)
                for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        NR > 1 && $c != "nan" && $1 == p { pv[++np] = $c + 0; pr[$2] = $c + 0 }
        NR > 1 && $c != "nan" && $1 == b { bv[++nb] = $c + 0; br[$2] = $c + 0 }
        END {
            if (np == 0 || (b != "" && nb == 0)) { print "nan nan nan"; exit }
            if (b == "") {
                lo = hi = pv[1]
                for (i = 2; i <= np; i++) { if (pv[i] < lo) lo = pv[i]; if (pv[i] > hi) hi = pv[i] }
                print median(pv, np), lo, hi
                exit
            }
            mb = median(bv, nb)
            ratio = mb == 0 ? "nan" : median(pv, np) / mb
            n = 0
            for (r in pr)
                if ((r in br) && br[r] != 0) {
                    x = pr[r] / br[r]
                    if (n++ == 0 || x < lo) lo = x
                    if (n == 1 || x > hi) hi = x
                }
            print ratio, (n ? lo : "nan"), (n ? hi : "nan")
        }' "$results"
}
# A tick case of the micro-benchmark, in microseconds (real time, Google
# Benchmark's csv): "median min max" over the repetitions.
tick_us() { # case
    awk -F, -v n="\"$1\"" '
        function us(t, unit) {
            gsub(/"/, "", unit)
            return unit == "ns" ? t / 1000 : unit == "ms" ? t * 1000 : unit == "s" ? t * 1e6 : t
        }
        $1 == n { v = us($3, $5); if (k++ == 0 || v < lo) lo = v; if (k == 1 || v > hi) hi = v }
        $1 == substr(n, 1, length(n) - 1) "_median\"" { m = us($3, $5) }
        END { print (m == "" ? "nan" : m), (k ? lo : "nan"), (k ? hi : "nan") }' "$tick_csv"
}
shown() { # "ratio min max" as "1.031 (0.952..1.120)"
    awk -v words="$1" 'BEGIN {
        split(words, w, " "); r = w[1]; lo = w[2]; hi = w[3]
        if (r == "nan") { printf "%s", "n/a"; exit }
        printf "%.3f", r
        if (lo != "nan") printf " (%.3f..%.3f)", lo, hi }'
}

declare -A med
for p in "${programs[@]}"; do
    med[$p, paint]=$(median 3 "$p")
    med[$p, map]=$(median 4 "$p")
    med[$p, pss]=$(median 5 "$p")
    med[$p, cpu]=$(median 6 "$p")
    med[$p, sched]=$(median 7 "$p")
    med[$p, wake]=$(median 8 "$p")
    med[$p, server]=$(median 9 "$p")
    med[$p, vol]=$(median 10 "$p")
    med[$p, rss]=$(median 11 "$p")
done
steady_tick=$(tick_us BM_Tick/Steady)
changing_tick=$(tick_us BM_Tick/DateChanges)

echo
echo "== medians of $rounds rounds (idle window ${idle} s, scaled to one minute)"
printf '%-9s %10s %8s %9s %9s %11s %13s %12s %10s %12s\n' program first_paint map_ms Pss_MiB Rss_MiB \
    cpu_ms/min sched_ms/min wakeups/min voluntary Xvfb_ms/min
for p in "${programs[@]}"; do
    awk -v p="$p" -v fp="${med[$p, paint]}" -v mp="${med[$p, map]}" -v pss="${med[$p, pss]}" \
        -v c="${med[$p, cpu]}" -v s="${med[$p, sched]}" -v w="${med[$p, wake]}" -v x="${med[$p, server]}" \
        -v v="${med[$p, vol]}" -v rss="${med[$p, rss]}" \
        'BEGIN { printf "%-9s %8.1fms %8.1f %9.2f %9.2f %11.1f %13.2f %12.1f %10.1f %12.1f\n",
                 p, fp, mp, pss / 1024, rss / 1024, c, s, w, v, x }'
done
echo "one tick: steady ${steady_tick%% *} us, date changing ${changing_tick%% *} us" \
    "(median of $repetitions repetitions)"

# Quorvane (and each program of QUORVANE_BENCH_ALSO) against the baselines.
echo
echo "== ratios: ratio of the medians (min..max of the $rounds per-round ratios)"
printf '%-9s %-22s %-26s %s\n' program measure "/ one label" "/ xclock"
measures=("3 first paint" "5 Pss" "11 Rss" "6 idle CPU, utime+stime" "7 idle CPU, schedstat")
for p in quorvane "${also[@]%%=*}"; do
    for m in "${measures[@]}"; do
        column=${m%% *}
        printf '%-9s %-22s %-26s %s\n' "$p" "${m#* }" \
            "$(shown "$(compare "$column" "$p" label)")" "$(shown "$(compare "$column" "$p" xclock)")"
    done
done
printf '%-9s %-22s %s\n' label "first paint / bare" "$(shown "$(compare 3 label bare)")"
printf '%-9s %-22s %s\n' label "Pss / bare" "$(shown "$(compare 5 label bare)")"

echo
echo "== targets: decided on the ratio of the medians; the range is that of the per-round ratios"
verdict() { # label limit unit "value min max"
    awk -v l="$1" -v m="$2" -v u="$3" -v words="$4" 'BEGIN {
        split(words, w, " "); v = w[1]; lo = w[2]; hi = w[3]
        ok = (v != "nan" && v + 0 <= m + 0)
        f = u == "" ? "%.1f" : "%.3f" # counts with one decimal, ratios and times with three
        value = v == "nan" ? "n/a" : sprintf(f "%s", v, u)
        range = lo == "nan" ? "n/a" : sprintf(f ".." f "%s", lo, hi, u)
        note = (lo != "nan" && lo + 0 <= m + 0 && hi + 0 > m + 0) ? "  range straddles the limit" : ""
        printf "%-4s  %-40s %11s  %-20s  <= %s%s%s\n", ok ? "PASS" : "MISS", l, value, range, m, u, note }'
}
verdict "first paint, Quorvane / one label" 1.05 " x" "$(compare 3 quorvane label)"
verdict "Pss, Quorvane / one label" 1.05 " x" "$(compare 5 quorvane label)"
verdict "idle CPU (schedstat), Quorvane / xclock" 1.0 " x" "$(compare 7 quorvane xclock)"
verdict "wakeups per minute, Quorvane" 60 "" "$(compare 8 quorvane)"
verdict "one steady tick (same date)" 1 " us" "$steady_tick"
echo "(the tick's range is over $repetitions repetitions of the micro-benchmark;" \
    "utime + stime come in clock ticks of $((1000 / ticks_per_second)) ms, so the schedstat" \
    "nanoseconds decide the idle CPU; wakeups count voluntary + involuntary context switches)"

mkdir -p "$build/cost"
cp "$results" "$build/cost/runs-$(date +%Y%m%d-%H%M%S).tsv"
cp "$tick_csv" "$build/cost/tick-$(date +%Y%m%d-%H%M%S).csv"
