#!/usr/bin/env bash
# Every figure of docs/PERFORMANCE.md, measured in one run and printed as the
# document's tables (Markdown), with the machine's load beside each figure:
# "load a-b" is the one-minute load average just before and just after that
# measurement. On a shared machine the figures move with the load; compare
# them only with figures taken at a similar load, or use the ratios, whose
# two sides are measured in the same process one right after the other.
#
#   sudo bash scripts/perf-report.sh [BUILD_FOLDER]
#
# Needs root: for the packages, and for the start-up probes
# (scripts/startup-time.sh). It installs what it needs first: the test set
# of Debian's packages and Linux perf (scripts/bootstrap.sh perf). It
# configures BUILD_FOLDER (default build-bench) with -DZORBI_BENCHMARKS=ON
# and builds what it needs there. Every figure is taken under an X server of
# its own (Xvfb, Mesa's llvmpipe), whatever display the terminal has. Takes
# about ten minutes on two cores; not part of CI. Sections can be skipped for
# a quicker look: PERF_SKIP="timedemo one-thread startup benchmarks capture
# encoder shader web" (any of them), and PERF_SIZES="800x600" times fewer
# sizes. A measurement that gives no figure ends the report with a message.
#
# The web section also installs the web-test set (scripts/bootstrap.sh
# web-test), builds the browser's site (scripts/web.sh build, into
# build-web/site) and web/tests' npm packages (npm ci), then times the site in
# Debian's headless Chromium (web/tests/measure.mjs) in turns with the
# desktop's timedemo, PERF_WEB_ROUNDS turns (default 5) of PERF_WEB_SECONDS
# (default 20) of show each. About five minutes.
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(realpath -m "${1:-build-bench}")
run_folder=$build/run
capture=$run_folder/getzorbi-capture
skip=" ${PERF_SKIP:-} "
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Mesa's llvmpipe under Xvfb (with-x-server.sh), never a desktop's display.
unset DISPLAY

fail() {
  echo "perf-report: $*" >&2
  exit 1
}

bash scripts/bootstrap.sh perf
# Configured every time, which costs seconds: a configure that failed before
# (a package missing then) leaves a folder that only configuring mends.
cmake -S . -B "$build" -DZORBI_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target getzorbi getzorbi-capture content benchmarks >/dev/null

one_minute_load() { cut -d' ' -f1 /proc/loadavg; }
load_before=""
begin() { load_before=$(one_minute_load); }
load() { echo "load $load_before-$(one_minute_load)"; }
wanted() { [[ "$skip" != *" $1 "* ]]; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
in_xvfb() { X_SCREEN=1920x1200x24 bash scripts/with-x-server.sh "$@"; }

# The show's length: the capture tool's default end, as its help states it.
show_seconds=$("$capture" --help | sed -n 's/.*--end S .*(default \([0-9.]*\)).*/\1/p')
[ -n "$show_seconds" ] || fail "getzorbi-capture --help names no default end"
thousands() { sed ':more; s/\([0-9]\)\([0-9]\{3\}\)\($\|,\)/\1,\2\3/; t more'; }
show_frames=$((show_seconds * 60 + 1))

# The rows of one table of Google Benchmark's JSON output (--benchmark_out):
# CPU microseconds, the median where runs were repeated. A figure the table
# needs and the output lacks ends the report, naming it.
benchmark_rows() {
  python3 - "$@" <<'EOF'
import json, sys

table, path = sys.argv[1:3]

def fail(message):
    sys.exit(f"perf-report: {message} in {path}")

runs = {}
for run in json.load(open(path))["benchmarks"]:
    if run.get("error_occurred"):
        fail(f"{run['name']} failed: {run.get('error_message', '')}")
    if run.get("run_type") == "iteration" or run.get("aggregate_name") == "median":
        runs[run["run_name"]] = run

def named(prefix):
    found = {name[len(prefix):]: run for name, run in runs.items() if name.startswith(prefix)}
    return found or fail(f"no {prefix} figures")

def micro(run):
    return run["cpu_time"] * {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[run["time_unit"]]

if table == "tga":
    stb = named("tga/stb/")
    for case, ours in named("tga/ours/").items():
        if case not in stb:
            fail(f"no stb_image figure for {case}")
        print(f"| {case} | {micro(ours):.1f} | {micro(stb[case]):.1f} | {micro(stb[case]) / micro(ours):.2f} |")
elif table == "md2":
    # assimp refuses some files, and a model of one frame has nothing to blend.
    assimp, blend = named("md2/assimp/"), named("interpolate/")
    cell = lambda figures, file: f"{micro(figures[file]):.1f}" if file in figures else "-"
    for file, ours in named("md2/ours/").items():
        print(f"| {file} | {micro(ours):.1f} | {cell(assimp, file)} | {cell(blend, file)} |")
elif table == "normals":
    for file, run in named("normals/").items():
        counters = ["load_us", "normals_us", "every_triangle_us", "faster_by"]
        if any(counter not in run for counter in counters):
            fail(f"normals/{file} lacks one of {counters}")
        load, normals, plain, faster = (run[counter] for counter in counters)
        print(f"| {file} | {load:.1f} | {normals:.1f} | {plain:.1f} | {load - normals + plain:.1f} | {faster:.2f} |")
EOF
}

# Runs one benchmark program with ARGUMENTS, its figures in $work/NAME.json.
run_benchmark() {
  "$build/benchmarks/$1" "${@:2}" --benchmark_out="$work/$1.json" --benchmark_out_format=json \
    >"$work/$1.log" 2>&1 || { cat "$work/$1.log" >&2; fail "$1 failed"; }
}

echo "# Performance report"
echo
echo "$(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD)$(git diff --quiet HEAD || echo ' with changes')"
echo
echo "| | |"
echo "|---|---|"
echo "| CPU | $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1) |"
echo "| Memory | $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo) |"
echo "| System | Linux $(uname -r), $(gcc --version | head -n 1) |"
echo "| GL | Mesa $(dpkg-query -W -f '${Version}' libgl1-mesa-dri), llvmpipe, under Xvfb |"
echo "| Load at the start | $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 minutes) |"

if wanted timedemo; then
  echo
  echo "## The whole frame: timedemo of the $show_seconds-second show"
  echo
  echo "\`getzorbi-capture --timedemo --size WxH --end $show_seconds\`: medians of the show's $(thousands <<<"$show_frames") frames, of 300 clear-only"
  echo "baseline frames after them and of $(((show_frames + 7) / 8)) floor frames (background, marked ground, one shadow quad), one timed"
  echo "right after every eighth show frame; every frame ended by glFinish."
  echo
  echo "| Size | Median | 99th | Worst | Baseline | Floor | Frame/floor | Peak memory | Load |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---|"
  for case in ${PERF_SIZES:-400x300 800x600 1920x1080} "800x600 LP_NUM_THREADS=1"; do
    [[ "$case" == *LP_NUM_THREADS* ]] && ! wanted one-thread && continue
    size=${case%% *}
    environment=()
    label="$size"
    if [ "$case" != "$size" ]; then
      environment=("${case#* }")
      label="$size, one llvmpipe thread"
    fi
    begin
    report=$(in_xvfb env "${environment[@]}" "$capture" --data "$run_folder" --size "$size" --timedemo 2>&1)
    figures=$(echo "$report" | sed -n \
      -e 's/.*median \([0-9.]*\), 99th \([0-9.]*\), worst \([0-9.]*\)$/\1 \2 \3/p' \
      -e 's/^baseline.*median \([0-9.]*\) ms.*/\1/p' \
      -e 's/^floor.*median \([0-9.]*\) ms; frame\/floor \([0-9.]*\)/\1 \2/p' \
      -e 's/^peak resident memory \([0-9.]*\) MiB/\1/p' | tr '\n' ' ')
    [ "$(wc -w <<<"$figures")" -eq 7 ] || fail "the timedemo at $label did not print its seven figures: $report"
    read -r frame p99 worst baseline floor ratio peak <<<"$figures"
    echo "| $label | $frame ms | $p99 ms | $worst ms | $baseline ms | $floor ms | $ratio | $peak MiB | $(load) |"
  done
fi

if wanted startup; then
  echo
  echo "## Start-up: exec to the end of the first frame"
  echo
  echo "\`scripts/startup-time.sh\`, five runs each, medians in ms; the phases are those of the probes. Warm: Mesa's"
  echo "shader cache holds this build's shaders (one run before the five fills it); cold: MESA_SHADER_CACHE_DISABLE=true."
  echo
  echo "| Window | Shader cache | Exec to first frame (min-max) | To main | Window and GL | Assembly | Models | Images | Uploads | Shader | Audio | First frame | Load |"
  echo "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|"
  for size in 800x600 1920x1080; do
    folder=$work/startup-$size
    mkdir -p "$folder"
    for item in getzorbi bump.vsh bump.fsh data; do ln -sfn "$run_folder/$item" "$folder/$item"; done
    printf 'width %s\nheight %s\nfullscreen 0\n' "${size%x*}" "${size#*x}" >"$folder/start.ini"
    for cache in warm cold; do
      environment=(env)
      [ "$cache" = cold ] && environment=(env MESA_SHADER_CACHE_DISABLE=true)
      [ "$cache" = warm ] && X_SCREEN=1920x1200x24 "${environment[@]}" bash scripts/startup-time.sh "$folder" 1 >/dev/null
      begin
      X_SCREEN=1920x1200x24 "${environment[@]}" bash scripts/startup-time.sh "$folder" 5 >"$work/startup.txt"
      column() { sed -n "s/.*$1 \([0-9][0-9]*\).*/\1/p" "$work/startup.txt" | median; }
      totals=$(sed -n 's/.*first frame done \([0-9][0-9]*\) ms.*/\1/p' "$work/startup.txt" | sort -n)
      echo "| $size | $cache | $(echo "$totals" | median) ($(echo "$totals" | head -n 1)-$(echo "$totals" | tail -n 1))" \
        "| $(column 'exec to main') | $(column 'window and GL state') | $(column 'scene assembly') | $(column 'models')" \
        "| $(column 'read and decoded') | $(column 'uploads') | $(column 'shader') | $(column 'audio')" \
        "| $(column '| first frame') | $(load) |"
    done
  done
fi

if wanted benchmarks; then
  echo
  echo "## TGA decoding against stb_image"
  echo
  echo "\`bench_tga --benchmark_min_time=0.2\`: CPU microseconds per decode, both from the same bytes in memory."
  echo
  begin
  run_benchmark bench_tga --benchmark_min_time=0.2
  tga_load=$(load)
  echo "| Case | ours | stb_image | stb / ours |"
  echo "|---|---:|---:|---:|"
  benchmark_rows tga "$work/bench_tga.json"
  echo
  echo "($tga_load)"

  echo
  echo "## MD2 loading against assimp"
  echo
  echo "\`bench_md2 --benchmark_min_time=0.5 --benchmark_repetitions=3\`: medians of CPU microseconds. Whole load: parse,"
  echo "decode every frame, normals. Interpolation: one blended frame, as drawing makes it per actor per pass."
  echo
  begin
  # Medians of three: a single short run of a few milliseconds' work moves
  # by a third when the machine does anything else meanwhile.
  run_benchmark bench_md2 --benchmark_min_time=0.5 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
  md2_load=$(load)
  echo "| File | Whole load | assimp, one keyframe | Interpolation |"
  echo "|---|---:|---:|---:|"
  benchmark_rows md2 "$work/bench_md2.json"
  echo
  echo "($md2_load)"
  echo
  echo "The loader's normals (deciding triangles) against the plain pass over every triangle, which they equal bit for"
  echo "bit: \`normals/FILE\` times, in every iteration and in turns, the whole load, the loader's normals and the plain"
  echo "pass (thread CPU time, microseconds). \"Load with the plain pass\" is the whole load less the loader's normals plus"
  echo "the plain pass; \"faster by\" divides it by the whole load."
  echo
  echo "| File | Whole load | Its normals | Plain pass | Load with the plain pass | Faster by |"
  echo "|---|---:|---:|---:|---:|---:|"
  benchmark_rows normals "$work/bench_md2.json"
fi

if wanted capture; then
  echo
  echo "## Capture of the whole show"
  echo
  begin
  started=$(date +%s.%N)
  in_xvfb "$capture" --data "$run_folder" --video "$work/show.mp4" >/dev/null 2>&1
  ended=$(date +%s.%N)
  echo "\`getzorbi-capture --video show.mp4\` (800x600, 60 fps, $show_seconds s, with sound):" \
    "$(awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.1f s", b - a }'), $(load)"
fi

if wanted encoder; then
  echo
  echo "## Encoder presets"
  echo
  echo "Five seconds of show (20 to 25 s, 300 frames at 800x600) written as PNG, then encoded by ffmpeg's libx264 at"
  echo "-crf 18 with each preset, one after another: encoding time, and PSNR of the encoded video against the frames."
  echo
  mkdir -p "$work/frames"
  in_xvfb "$capture" --data "$run_folder" --sequence --start 20 --end 24.99 --out "$work/frames" >/dev/null 2>&1
  echo "| Preset | Encoding, wall | Encoding, CPU | PSNR (all planes) | Size | Load |"
  echo "|---|---:|---:|---:|---:|---|"
  for preset in medium fast faster veryfast superfast ultrafast; do
    begin
    times=$({ TIMEFORMAT='%R %U %S'; time ffmpeg -loglevel error -y -framerate 60 -pattern_type glob \
      -i "$work/frames/frame-*.png" -c:v libx264 -preset "$preset" -crf 18 -pix_fmt yuv420p "$work/$preset.mp4"; } 2>&1)
    psnr=$(ffmpeg -hide_banner -i "$work/$preset.mp4" -framerate 60 -pattern_type glob -i "$work/frames/frame-*.png" \
      -lavfi "[1:v]format=yuv420p[reference];[0:v][reference]psnr" -f null - 2>&1 |
      sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p' | awk '{ printf "%.2f", $1 }')
    echo "| $preset | $(echo "$times" | awk '{ printf "%.1f s | %.1f s", $1, $2 + $3 }') | $psnr dB" \
      "| $(du -k "$work/$preset.mp4" | cut -f1) KiB | $(load) |"
  done
fi

if wanted shader; then
  # The shipped ground shader against the pair it replaced, timed in turns so
  # that both meet the machine as it drifts. Short runs make close pairs: the
  # whole show at 10 frames a second, PERF_SHADER_ROUNDS pairs
  # (default 5) at each size, then the whole show captured through each
  # pair. About six minutes on a quiet machine.
  rounds=${PERF_SHADER_ROUNDS:-5}
  for pair in before after; do
    mkdir -p "$work/shader-$pair"
    ln -sfn "$run_folder/data" "$work/shader-$pair/data"
  done
  for file in bump.vsh bump.fsh; do
    ln -sfn "$PWD/tests/reference-shader/$file" "$work/shader-before/$file"
    ln -sfn "$run_folder/$file" "$work/shader-after/$file"
  done
  # "FRAME FLOOR": the frame and floor medians of one timedemo.
  timedemo_medians() {
    local medians
    medians=$(in_xvfb "$capture" --data "$work/shader-$1" --size "$2" --fps 10 --timedemo 2>&1 | sed -n \
      -e 's/.*frame ms: median \([0-9.]*\),.*/\1/p' -e 's/^floor.*median \([0-9.]*\) ms.*/\1/p' | tr '\n' ' ')
    [ "$(wc -w <<<"$medians")" -eq 2 ] || fail "the timedemo with the $1 shaders at $2 gave no frame and floor medians"
    echo "$medians"
  }
  # The median of a file of ratios, and its range.
  ratio_summary() {
    sort -n "$1" | awk '{ v[NR] = $1 } END {
      printf "%.3f (%.3f-%.3f)", (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2, v[1], v[NR] }'
  }
  echo
  echo "## The ground's shader against the pair it replaced"
  echo
  echo "\`getzorbi-capture --timedemo --size WxH --fps 10\` (the whole show, $((show_seconds * 10 + 1)) frames) from two run folders that differ"
  echo "only in \`bump.vsh\` and \`bump.fsh\`: before, the pair kept in tests/reference-shader; after, the shipped pair. The"
  echo "two run in turns, $rounds times each: the medians of their runs' frame medians, and the ratios after/before of the"
  echo "frame and of the floor (background, ground, one shadow quad) pair by pair, their median (lowest-highest)."
  echo
  echo "| Size | Frame before | Frame after | Frame after/before | Floor after/before | Load |"
  echo "|---|---:|---:|---:|---:|---|"
  for size in 800x600 1920x1080; do
    begin
    for file in before after frame-ratios floor-ratios; do : >"$work/$file.txt"; done
    for _ in $(seq "$rounds"); do
      # Assigned first, so that a timedemo without its figures ends the report.
      medians_before=$(timedemo_medians before "$size")
      medians_after=$(timedemo_medians after "$size")
      read -r frame_before floor_before <<<"$medians_before"
      read -r frame_after floor_after <<<"$medians_after"
      echo "$frame_before" >>"$work/before.txt"
      echo "$frame_after" >>"$work/after.txt"
      awk -v a="$frame_after" -v b="$frame_before" 'BEGIN { printf "%.3f\n", a / b }' >>"$work/frame-ratios.txt"
      awk -v a="$floor_after" -v b="$floor_before" 'BEGIN { printf "%.3f\n", a / b }' >>"$work/floor-ratios.txt"
    done
    echo "| $size | $(median <"$work/before.txt") ms | $(median <"$work/after.txt") ms" \
      "| $(ratio_summary "$work/frame-ratios.txt") | $(ratio_summary "$work/floor-ratios.txt") | $(load) |"
  done

  echo
  echo "\`getzorbi-capture --video show.mp4\` (800x600, 60 fps, $show_seconds s, with sound) from each folder, one after the other:"
  echo
  echo "| Shader pair | Whole capture | Load |"
  echo "|---|---:|---|"
  for pair in before after; do
    begin
    started=$(date +%s.%N)
    in_xvfb "$capture" --data "$work/shader-$pair" --video "$work/show-$pair.mp4" >/dev/null 2>&1
    ended=$(date +%s.%N)
    seconds=$(awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.1f", b - a }')
    echo "$seconds" >"$work/capture-$pair.txt"
    echo "| $pair | $seconds s | $(load) |"
  done
  echo "| after/before | $(awk '{ v[NR] = $1 } END { printf "%.3f", v[2] / v[1] }' "$work/capture-before.txt" \
    "$work/capture-after.txt") | |"
fi

if wanted web; then
  rounds=${PERF_WEB_ROUNDS:-5}
  web_seconds=${PERF_WEB_SECONDS:-20}
  bash scripts/bootstrap.sh web-test
  bash scripts/web.sh build >"$work/web-build.log" 2>&1 || { cat "$work/web-build.log" >&2; fail "the site did not build"; }
  npm ci --prefix web/tests --no-audit --no-fund >"$work/npm.log" 2>&1 || { cat "$work/npm.log" >&2; fail "npm ci failed"; }
  site=build-web/site

  echo
  echo "## The web build"
  echo
  echo "\`node web/tests/measure.mjs build-web/site $web_seconds\`: Debian's Chromium $(dpkg-query -W -f '${Version}' chromium),"
  echo "headless, WebGL through SwiftShader, \`index.html?autostart=1\` (800x600) served from 127.0.0.1; the show played"
  echo "on the real clock for $web_seconds s from its first frame. Web frame: the median time between frames drawn"
  echo "(requestAnimationFrame times, which come at the display's refreshes, 16.7 ms apart); mean: those $web_seconds s"
  echo "over the frames drawn in them; main thread and script: CDP Performance.getMetrics TaskDuration and"
  echo "ScriptDuration over the same $web_seconds s, per frame drawn; first frame: navigation start to"
  echo "\`getzorbi.frame >= 1\`. In turns with each browser run, the desktop:"
  echo "\`getzorbi-capture --timedemo --size 800x600 --end $web_seconds\` (the same stretch of show, llvmpipe under Xvfb,"
  echo "60 frames per second of show time, each ended by glFinish), its frame median."
  echo
  echo "| Turn | Web frame | Mean | 99th | Desktop frame | Web/desktop | Main thread per frame | Script per frame | First frame | Frames | Underruns | Load |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|"
  section_load=$(one_minute_load)
  : >"$work/web-turns.txt"
  for turn in $(seq "$rounds"); do
    begin
    figures=$(node web/tests/measure.mjs "$site" "$web_seconds") || fail "web/tests/measure.mjs failed in turn $turn"
    report=$(in_xvfb "$capture" --data "$run_folder" --size 800x600 --end "$web_seconds" --timedemo 2>&1)
    desktop=$(echo "$report" | sed -n 's/.*frame ms: median \([0-9.]*\),.*/\1/p')
    [ -n "$desktop" ] || fail "the timedemo at 800x600 printed no frame median: $report"
    echo "{\"turn\": $turn, \"desktop\": $desktop, \"web\": $figures, \"load\": \"$(load)\"}" >>"$work/web-turns.txt"
  done
  # One row per turn, then the medians of the turns with their range.
  python3 - "$work/web-turns.txt" "$section_load-$(one_minute_load)" <<'EOF'
import json, statistics, sys

turns = [json.loads(line) for line in open(sys.argv[1])]
columns = [
    ("{:.1f} ms", lambda t: t["web"]["frameMedianMs"]),
    ("{:.1f} ms", lambda t: t["web"]["frameMeanMs"]),
    ("{:.1f} ms", lambda t: t["web"]["frameP99Ms"]),
    ("{:.2f} ms", lambda t: t["desktop"]),
    ("{:.2f}", lambda t: t["web"]["frameMedianMs"] / t["desktop"]),
    ("{:.2f} ms", lambda t: t["web"]["taskMsPerFrame"]),
    ("{:.2f} ms", lambda t: t["web"]["scriptMsPerFrame"]),
    ("{:.0f} ms", lambda t: t["web"]["firstFrameMs"]),
    ("{:.0f}", lambda t: t["web"]["frames"]),
    ("{:.0f}", lambda t: t["web"]["underruns"]),
]
for turn in turns:
    cells = [form.format(value(turn)) for form, value in columns]
    print(f"| {turn['turn']} | {' | '.join(cells)} | {turn['load']} |")
cells = []
for form, value in columns:
    values = [value(turn) for turn in turns]
    low = form.format(min(values)).split(" ")[0]
    cells.append(f"{form.format(statistics.median(values))} ({low}-{form.format(max(values))})")
print(f"| median (min-max) | {' | '.join(cells)} | load {sys.argv[2]} |")
EOF

  echo
  echo "The site's files, raw and compressed by \`gzip -9\` (bytes):"
  echo
  echo "| File | Raw | gzip -9 |"
  echo "|---|---:|---:|"
  raw_total=0
  gzip_total=0
  for file in "$site"/*; do
    raw=$(wc -c <"$file")
    compressed=$(gzip -9 -c "$file" | wc -c)
    raw_total=$((raw_total + raw))
    gzip_total=$((gzip_total + compressed))
    echo "| $(basename "$file") | $(thousands <<<"$raw") | $(thousands <<<"$compressed") |"
  done
  echo "| total | $(thousands <<<"$raw_total") | $(thousands <<<"$gzip_total") |"
fi
