#!/bin/sh
# Times whole processes side by side with hyperfine and prints how much longer ours take than a
# yardstick that does the same job without the program around it:
#
#   start-up  hexzwirbel --screenshot OUT.png FILE (offscreen: load the file, draw the window,
#             write the PNG) against bench/bare_window, a bare Qt Widgets window of the same
#             size drawn and written the same way; the PNG encoding is common to both
#   convert   hexzwirbel-cli convert IN -o OUT against srec_cat IN -intel -o OUT -intel, on a
#             full-size 16F18324 file (4096 program words, 256 EEPROM bytes) that
#             bench/full_18324_hex.sh writes
#
# The ratio is ours / yardstick, from the medians (the means follow in brackets): below 1 ours
# is faster. Both commands run in alternating rounds, so that other load on the machine falls
# on both alike. After the start-up ratio the script lists where the start-up time goes: each
# step in main (application, window, load, render, png) for ours and the yardstick, and the time
# spent outside main. Nothing is asserted; the numbers are for reading.
#
#   bench/compare_processes.sh [BUILD_DIR [start-up|convert]]
#       (default: build, both comparisons; ROUNDS=5 rounds of RUNS=10 runs each)
#
# `convert` alone needs only the tool built (target hexzwirbel-cli), not the window.
#
# On a machine that is busy with other work, run it as root under `chrt -f 50`: the processes
# timed then take a core whenever they need one instead of waiting for the scheduler's next
# turn, which otherwise adds milliseconds at random.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build}
only=${2:-}
case "$only" in "" | start-up | convert) ;; *) echo "unknown comparison: $only (start-up or convert)" >&2; exit 2 ;; esac
rounds=${ROUNDS:-5}
per_round=${RUNS:-10}
editor=$build/src/gui/hexzwirbel
bare=$build/bench/bare_window
cli=$build/src/cli/hexzwirbel-cli
demo=$root/examples/relais_16f684_dcc.hex

for tool in hyperfine srec_cat; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (Debian package $tool)" >&2; exit 2; }
done
needed="$cli"
[ "$only" = convert ] || needed="$editor $bare $cli"
for exe in $needed; do
    [ -x "$exe" ] || { echo "$exe is missing: build $build first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
"$here/full_18324_hex.sh" >"$work/full.hex"

export QT_QPA_PLATFORM=offscreen
# XDG_RUNTIME_DIR unset makes Qt print a warning at every start; give it a folder of its own.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Each command once outside the timing: it must do its job, or the numbers mean nothing.
if [ "$only" != convert ]; then
    "$editor" --screenshot "$work/editor.png" "$demo"
    # (Qt's offscreen platform remarks on the bare window's show(); that is no failure.)
    "$bare" --screenshot "$work/bare.png" 2>"$work/bare.err" || { cat "$work/bare.err" >&2; exit 1; }
fi
"$cli" convert "$work/full.hex" -o "$work/cli.hex"
srec_cat "$work/full.hex" -intel -o "$work/srec.hex" -intel

# compare NAME OURS YARDSTICK: times both in alternating rounds (so that a burst of other load
# on the machine hits both alike), prints medians, means and their ratios.
compare() {
    round=1
    while [ "$round" -le "$rounds" ]; do
        hyperfine --shell=none --warmup 3 --runs "$per_round" --style none --export-json "$work/$1.$round.json" \
            "$2" "$3" >"$work/$1.txt" 2>&1 || { cat "$work/$1.txt" >&2; exit 1; }
        round=$((round + 1))
    done
    # hyperfine's JSON lists per command its run times in seconds: "times": [ t, t, ... ].
    awk -v name="$1" '
        /"command":/ { cmd = (cmd == 1 ? 2 : 1) }
        /"times": *\[/ { intimes = 1; next }
        intimes && /\]/ { intimes = 0 }
        intimes { gsub(/[ ,]/, ""); t[cmd, ++n[cmd]] = $0 * 1000; sum[cmd] += $0 * 1000 }
        function median(c,    i, j, x, m) {
            m = n[c]
            for (i = 1; i <= m; ++i) s[i] = t[c, i]
            for (i = 2; i <= m; ++i) { x = s[i]; for (j = i - 1; j >= 1 && s[j] > x; --j) s[j + 1] = s[j]; s[j + 1] = x }
            return m % 2 ? s[(m + 1) / 2] : (s[m / 2] + s[m / 2 + 1]) / 2
        }
        END {
            a = median(1); b = median(2)
            printf "%-9s ours %7.2f ms   yardstick %7.2f ms   ratio %.2f   (means %.2f / %.2f ms: %.2f)\n",
                name, a, b, a / b, sum[1] / n[1], sum[2] / n[2], (sum[1] / n[1]) / (sum[2] / n[2])
            printf "%.3f %.3f\n", sum[1] / n[1], sum[2] / n[2] > means
        }' means="$work/$1.means" "$work/$1".*.json
}

# phases OUT COMMAND...: runs COMMAND RUNS times with HZ_STARTUP_PHASES set and keeps the lines
# "phase NAME MS" it prints (milliseconds since the top of main, see src/gui/app/StartupPhases.h).
phases() {
    out=$1
    shift
    : >"$out"
    i=0
    while [ "$i" -lt "$per_round" ]; do
        HZ_STARTUP_PHASES=1 "$@" 2>&1 >/dev/null | grep '^phase ' >>"$out" || true
        i=$((i + 1))
    done
}

# Where the start-up time goes: the mean time of each step in main, ours beside the yardstick's,
# and what the timed runs above spent outside main (loading the libraries, ending the process).
startup_phases() {
    phases "$work/ours.phases" "$editor" --screenshot "$work/editor.png" "$demo"
    phases "$work/bare.phases" "$bare" --screenshot "$work/bare.png"
    awk '
        FNR == 1 { file++ }
        file == 1 { ours_total = $1; bare_total = $2; next }
        {
            # cumulative marks in the order printed; a new run starts where the clock goes back
            if ($3 + 0 < last[file]) last[file] = 0
            step = $3 - last[file]; last[file] = $3
            if (!($2 in known)) { known[$2] = 1; order[++k] = $2 }
            t[file, $2] += step; n[file, $2]++
            if ($2 == "png") { main[file] += $3; runs[file]++ }
        }
        function cell(f, name) { return n[f, name] ? sprintf("%9.2f", t[f, name] / n[f, name]) : sprintf("%9s", "-") }
        END {
            printf "start-up step          ours ms  yardstick ms\n"
            for (i = 1; i <= k; ++i) printf "  %-18s %s %s\n", order[i], cell(2, order[i]), cell(3, order[i])
            om = runs[2] ? main[2] / runs[2] : 0; bm = runs[3] ? main[3] / runs[3] : 0
            printf "  %-18s %9.2f %9.2f\n", "all of main", om, bm
            printf "  %-18s %9.2f %9.2f\n", "outside main", ours_total - om, bare_total - bm
        }' "$work/start-up.means" "$work/ours.phases" "$work/bare.phases"
}

echo "$rounds rounds of $per_round runs each; ratio = ours / yardstick (median, then mean)"
if [ "$only" != convert ]; then
    compare start-up "$editor --screenshot $work/editor.png $demo" "$bare --screenshot $work/bare.png"
    startup_phases
fi
[ "$only" = start-up ] || compare convert "$cli convert $work/full.hex -o $work/cli.hex" "srec_cat $work/full.hex -intel -o $work/srec.hex -intel"
