#!/usr/bin/env bash
# The benchmark: builds everything (scripts/build.sh), then under Xvfb with
# Mesa's software OpenGL measures the start-up to the first frame against a
# bare SDL + OpenGL program, the frame time of the game's runFrame in four
# scenes against a raw OpenGL reference, the play logic alone and the peak
# memory. Prints the table and writes docs/bench/results.md and
# docs/bench/frame-time-vs-decals.png; raw figures and logs go to
# build/bench/run/. With --report-only it only makes the table and the plot
# again from the figures of the last run.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
run="$root/build/bench/run"
out="$root/docs/bench"
results="$run/results.tsv"
startup_repeats="${ZIBO_BENCH_STARTUP_REPEATS:-10}"

measure() {
    bash scripts/build.sh
    rm -rf "$run"
    mkdir -p "$run/quads" "$out"
    : >"$results"

    export LIBGL_ALWAYS_SOFTWARE=1
    export SDL_AUDIODRIVER=dummy
    printf 'info\tload-before\t%s\n' "$(cut -d' ' -f1-3 /proc/loadavg)" >>"$results"

    echo "bench: measuring (about ten minutes; logs in build/bench/run)"
    # The programs read "sprites" and "sfx" from the build directory. The
    # game's own log lines go to the logs; the figures go to results.tsv.
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
        set -e
        cd "$1/build"
        bench/zibo-bench-record "$2/quads" >"$2/record.log" 2>&1
        bench/zibo-bench frames "$2/quads" "$2/results.tsv" >"$2/frames.log" 2>&1
        bench/zibo-bench sweep "$2/quads" "$2/results.tsv" >"$2/sweep.log" 2>&1
        bench/zibo-bench logic "$2/results.tsv" >"$2/logic.log" 2>&1
        bench/zibo-bench memory "$2/results.tsv" >"$2/memory.log" 2>&1
        bench/zibo-bench memory-reference "$2/quads" "$2/results.tsv" >>"$2/memory.log" 2>&1
        bench/zibo-startup-probe "$PWD/bench/libzibo-first-frame.so" "$3" \
            "$PWD" ./zibo "$PWD" bench/zibo-bare-window >"$2/startup.tsv"
    ' bench "$root" "$run" "$startup_repeats"
    printf 'info\tload-after\t%s\n' "$(cut -d' ' -f1-3 /proc/loadavg)" >>"$results"
    printf 'info\tdate\t%s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')" >>"$results"
}

if [ "${1:-}" != "--report-only" ]; then
    measure
fi
mkdir -p "$out"
info() { awk -F'\t' -v key="$1" '$1 == "info" && $2 == key { print $3 }' "$results"; }
load_before="$(info load-before)"
load_after="$(info load-after)"

cpu="$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
renderer="$(info renderer)"
gl_version="$(info version)"
machine="$(nproc) CPUs ($cpu), $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo) RAM, \
$(. /etc/os-release && echo "$PRETTY_NAME"), Xvfb, $renderer, OpenGL $gl_version; \
load average $load_before before and $load_after after (the machine is shared)"

awk -F'\t' -v date="$(info date)" -v machine="$machine" \
    -v startup="$run/startup.tsv" '
    function ratio(a, b) { return b > 0 ? sprintf("%.2f", a / b) : "-" }
    function verdict(ok) { return ok ? "met" : "**missed**" }
    $1 == "frame" { median[$2, $3] = $4; p99[$2, $3] = $5; frames[$2, $3] = $6; cpu[$2, $3] = $7 }
    $1 == "logic" { logic[$2] = $4; logic99[$2] = $5; logicFrames[$2] = $6; logicCpu[$2] = $7; logicCpu99[$2] = $8 }
    $1 == "logic-events" { kills[$2] = $3; spawns[$2] = $4 }
    $1 == "memory" { memory[$2] = $3 }
    $1 == "quads" { quads[$2] = $3; batches[$2] = $4 }
    END {
        while ((getline line < startup) > 0) {
            split(line, f, "\t")
            if (f[1] ~ /zibo-bare-window/) { bare = f[2]; bareMemory = f[3]; runs = 0; for (i = 4; i in f; ++i) ++runs }
            else { game = f[2]; gameMemory = f[3] }
        }
        print "Measured " date " on " machine "."
        print ""
        print "| Measurement | ZIBO | Reference | Ratio | Target |"
        print "| --- | --- | --- | --- | --- |"
        r = game / bare
        printf "| Start-up to the first frame, median of %d | %.0f ms | %.0f ms (bare SDL + OpenGL window) | %.2f | at most 2: %s |\n", \
            runs, game, bare, r, verdict(r <= 2)
        split("title empty late extreme", scene, " ")
        split("Title screen|Empty round|Late round: 1,000 decals, 150 enemies, 50 bullets|Extreme round: 5,000 decals, 1,000 enemies, 300 bullets", label, "|")
        for (i = 1; i <= 4; ++i) {
            s = scene[i]
            r = median[s, "game"] / median[s, "reference"]
            target = "-"
            if (s == "late") target = "at most 1.3: " verdict(r <= 1.3)
            if (s == "extreme") target = "at most 1.5: " verdict(r <= 1.5)
            printf "| %s: frame time, median / 99th percentile [processor time, median] (%d quads; frames measured) | %.2f / %.2f ms [%.2f] (%d) | %.2f / %.2f ms [%.2f] (%d; %d batches) | %s [%s] | %s |\n", \
                label[i], quads[s], median[s, "game"], p99[s, "game"], cpu[s, "game"], frames[s, "game"], \
                median[s, "reference"], p99[s, "reference"], cpu[s, "reference"], frames[s, "reference"], batches[s], \
                ratio(median[s, "game"], median[s, "reference"]), ratio(cpu[s, "game"], cpu[s, "reference"]), target
        }
        printf "| Late round: play logic alone, median / 99th percentile [processor time, median / 99th percentile] (kills and spawns a second) | %.3f / %.3f ms [%.3f / %.3f] (%.0f, %.0f) | - | - | - |\n", \
            logic["late"], logic99["late"], logicCpu["late"], logicCpu99["late"], kills["late"], spawns["late"]
        printf "| Extreme round: play logic alone, median / 99th percentile [processor time, median / 99th percentile] (kills and spawns a second) | %.3f / %.3f ms [%.3f / %.3f] (%.0f, %.0f) | - | - | median under 1 ms: %s |\n", \
            logic["extreme"], logic99["extreme"], logicCpu["extreme"], logicCpu99["extreme"], kills["extreme"], spawns["extreme"], verdict(logic["extreme"] < 1)
        printf "| Extreme round: peak resident memory | %.1f MB | %.1f MB (game started, reference drawing) | %.2f | under 100 MB: %s |\n", \
            memory["game"], memory["reference"], memory["game"] / memory["reference"], verdict(memory["game"] < 100)
        printf "| Peak resident memory at the first frame, median | %.1f MB | %.1f MB (bare SDL + OpenGL window) | %.2f | - |\n", \
            gameMemory, bareMemory, gameMemory / bareMemory
    }' "$results" >"$out/results.md"

# Frame time against the number of decals, late-round enemies and bullets.
awk -F'\t' '$1 == "sweep" {
        split($2, name, "-"); d = name[2]
        if ($3 == "game") { g[d] = $4; g99[d] = $5; gc[d] = $7 } else { r[d] = $4; rc[d] = $7 }
        seen[d] = 1
    }
    END { for (d in seen) print d, g[d], g99[d], r[d], gc[d], rc[d] }' "$results" | sort -n >"$run/sweep.dat"
gnuplot <<GNUPLOT
set terminal pngcairo size 800,500 font "DejaVu Sans,10"
set output "$out/frame-time-vs-decals.png"
set title "ZIBO frame time against decals (150 enemies, 50 bullets; llvmpipe under Xvfb)"
set xlabel "decals on the floor"
set ylabel "frame time, ms"
set key top left
set grid
plot "$run/sweep.dat" using 1:2 with linespoints lw 2 lc 1 title "runFrame, median", \
     "$run/sweep.dat" using 1:3 with points pt 6 lc 1 title "runFrame, 99th percentile", \
     "$run/sweep.dat" using 1:5 with linespoints lw 1 dt 2 lc 1 title "runFrame, processor time, median", \
     "$run/sweep.dat" using 1:4 with linespoints lw 2 lc 2 title "raw OpenGL reference, median", \
     "$run/sweep.dat" using 1:6 with linespoints lw 1 dt 2 lc 2 title "raw OpenGL reference, processor time, median"
GNUPLOT

cat "$out/results.md"
echo "bench: wrote docs/bench/results.md and docs/bench/frame-time-vs-decals.png"
