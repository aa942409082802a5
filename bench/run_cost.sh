#!/usr/bin/env bash
# Measures what Quorvane costs against two baselines, on a private Xvfb:
#   - bare: a bare Qt window of the panel's size, flags and place (bench/bare_window),
#     the toolkit's floor;
#   - xclock: `xclock -digital -update 1`, a classic X program that also
#     redraws once a second.
# For each program: launch to first painted frame (bench/first_paint_probe,
# X DAMAGE events), proportional memory (Pss) three seconds after the start,
# and CPU time and wakeups (context switches) over some seconds of idle
# running. The programs run interleaved, in rotating order, with the same
# environment. Then the micro-benchmarks (one refresh tick on the real
# window). Prints medians, ratios and PASS/MISS against the cost targets.
#
# Usage: bench/run_cost.sh [--quick] [--idle SECONDS] [--rounds N] [--cold]
#   default: 5 rounds, 60 s idle (about 17 minutes);
#   --quick: 3 rounds, 10 s idle (about 2 minutes);
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
        sed -n '2,23p' "$script"
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
    --target quorvane bare_qt_window first_paint_probe tick_bench timetable_bench
quorvane=$build/app/quorvane
bare=$build/bench/bare_qt_window
probe=$build/bench/first_paint_probe
for binary in "$quorvane" "$bare" "$probe"; do
    [ -x "$binary" ] || {
        echo "run_cost: $binary was not built" >&2
        exit 1
    }
done

# Stale system font caches (fonts installed without fc-cache having run since)
# make every text-drawing program rescan the font directories at start, which
# adds seconds to Quorvane's first paint and nothing to the bare window's.
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

# Same for all three: fonts (the system's fontconfig), C.UTF-8, a private
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
printf 'program\tround\tfirst_paint_ms\tmap_ms\tpss_kib\tcpu_ms_per_min\tsched_ms_per_min\twakeups_per_min\tserver_cpu_ms_per_min\tvoluntary_per_min\trss_kib\n' >"$results"

# Starts the command under the probe in the background; sets probe_pid and pid.
launch() { # output-file error-file extra-env-array-name command...
    local out=$1 err=$2
    local -n launch_env=$3
    shift 3
    pid=
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
        -v srv="$((srv1 - srv0))" -v vol="$((vol1 - vol0))" -v rss="$rss" -v hz="$ticks_per_second" -v t0="$t0" -v t1="$t1" 'BEGIN {
            perMin = 60 / (t1 - t0) # the window as it was, a little over the idle seconds
            print n, r, fp, mp, pss, c * 1000 / hz * perMin, ns / 1e6 * perMin, sw * perMin,
                  srv * 1000 / hz * perMin, vol * perMin, rss
        }' >>"$results"
    tail -n 1 "$results"
}

programs=(quorvane bare xclock)
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
printf 'program\tround\tpaint_ms\tmap_ms\tpss_kib\tcpu_ms/min\tsched_ms/min\twakeups/min\tXvfb_ms/min\tvoluntary/min\trss_kib\n'
for ((round = 1; round <= rounds; round++)); do
    for ((i = 0; i < ${#programs[@]}; i++)); do
        name=${programs[(round - 1 + i) % ${#programs[@]}]}
        case $name in
        quorvane) measure quorvane "$round" quorvane_env "$quorvane" ;;
        bare) measure bare "$round" no_env "$bare" ;;
        xclock) measure xclock "$round" no_env xclock -digital -update 1 ;;
        *) measure "$name" "$round" quorvane_env "${also_command[$name]}" ;;
        esac
    done
done

# --- micro-benchmarks: one refresh tick on the real window --------------------
echo
echo "== micro-benchmarks (offscreen platform)"
tick_csv=$work/tick.csv
"${run_env[@]}" QT_QPA_PLATFORM=offscreen "$build/bench/tick_bench" \
    --benchmark_repetitions="$((rounds > 3 ? rounds : 3))" --benchmark_report_aggregates_only=true \
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
# Micro-benchmark median of a case, in microseconds (Google Benchmark's csv).
tick_us() {
    awk -F, -v n="\"$1_median\"" '$1 == n {
        unit = $5; gsub(/"/, "", unit); t = $3
        if (unit == "ns") t /= 1000; else if (unit == "ms") t *= 1000
        print t }' "$tick_csv"
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
steady_us=$(tick_us BM_Tick/Steady)
changing_us=$(tick_us BM_Tick/DateChanges)

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
echo "one tick: steady ${steady_us} us, date changing ${changing_us} us (median of $((rounds > 3 ? rounds : 3)) repetitions)"

echo
echo "== targets"
verdict() { # label value limit unit
    awk -v l="$1" -v v="$2" -v m="$3" -v u="$4" 'BEGIN {
        ok = (v != "nan" && v + 0 <= m + 0)
        shown = v == "nan" ? sprintf("%8s", "n/a") : sprintf("%8.3f%s", v, u)
        printf "%-4s  %-44s %s  (target <= %s%s)\n", ok ? "PASS" : "MISS", l, shown, m, u }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0 || a == "nan" || b == "nan") print "nan"; else print a / b }'; }
verdict "first paint, Quorvane / bare" "$(ratio "${med[quorvane, paint]}" "${med[bare, paint]}")" 1.10 x
verdict "Pss, Quorvane / bare" "$(ratio "${med[quorvane, pss]}" "${med[bare, pss]}")" 1.10 x
verdict "idle CPU per minute, Quorvane / xclock" "$(ratio "${med[quorvane, cpu]}" "${med[xclock, cpu]}")" 0.8 x
verdict "wakeups per minute, Quorvane" "${med[quorvane, wake]}" 60 ""
verdict "one tick, steady state" "${steady_us:-nan}" 20 " us"
# utime + stime count whole clock ticks, few of them in a minute of idling:
# the same ratio from the scheduler's nanosecond run times is the finer one.
verdict "idle CPU per minute (schedstat ns), Quorvane / xclock" \
    "$(ratio "${med[quorvane, sched]}" "${med[xclock, sched]}")" 0.8 x
echo "(Rss, which other programs on the machine do not move, Quorvane / bare =" \
    "$(ratio "${med[quorvane, rss]}" "${med[bare, rss]}"))"
for entry in "${also[@]}"; do
    p=${entry%%=*}
    echo "(also $p: first paint / bare $(ratio "${med[$p, paint]}" "${med[bare, paint]}")," \
        "Pss / bare $(ratio "${med[$p, pss]}" "${med[bare, pss]}")," \
        "Rss / bare $(ratio "${med[$p, rss]}" "${med[bare, rss]}")," \
        "idle CPU / xclock $(ratio "${med[$p, cpu]}" "${med[xclock, cpu]}") (schedstat" \
        "$(ratio "${med[$p, sched]}" "${med[xclock, sched]}")), wakeups/min ${med[$p, wake]})"
done
echo "(utime + stime come in clock ticks of $((1000 / ticks_per_second)) ms;" \
    "wakeups count voluntary + involuntary context switches, the voluntary ones alone are shown too)"

mkdir -p "$build/cost"
cp "$results" "$build/cost/runs-$(date +%Y%m%d-%H%M%S).tsv"
