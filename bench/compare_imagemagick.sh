#!/usr/bin/env bash
# Times vorqtile-cli against ImageMagick's nearest equivalent on the same
# 4096 x 4096 file, as whole processes (decode + effect + encode), median of
# RUNS runs (default 3). Usage: bench/compare_imagemagick.sh [BUILD_DIR]  (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
CLI=$BUILD/vorqtile-cli
RUNS=${RUNS:-3}
WORK=${WORK:-/tmp/vorq-bench}
command -v convert >/dev/null && convert -version 2>/dev/null | grep -q ImageMagick || {
  echo "ImageMagick is needed: apt-get install imagemagick" >&2; exit 1; }
[ -x "$CLI" ] || { echo "build first: ./vorq test (or cmake --build $BUILD)" >&2; exit 1; }
mkdir -p "$WORK"
IN=$WORK/in4096.bmp
[ -f "$IN" ] || convert -size 4096x4096 plasma:fractal -seed 7 -type TrueColor "BMP3:$IN"
export MAGICK_THREAD_LIMIT=${MAGICK_THREAD_LIMIT:-1}

median() {  # runs "$@" RUNS times, prints the median wall time in seconds
  local times=()
  for _ in $(seq "$RUNS"); do
    local t0 t1
    t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N)
    times+=("$(echo "$t1 - $t0" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

row() {  # name, vorqtile line, ImageMagick operator...
  local name=$1 line=$2; shift 2
  local v m
  v=$(median "$CLI" --input "$IN" "$line" --output "$WORK/v.bmp")
  m=$(median convert "$IN" "$@" "BMP3:$WORK/m.bmp")
  printf '| %-22s | %8.3f | %8.3f | %6.1fx |\n' "$name" "$v" "$m" "$(echo "$m / $v" | bc -l)"
}

echo "4096 x 4096, whole processes, median of $RUNS runs, ImageMagick threads: $MAGICK_THREAD_LIMIT"
echo "| effect                 | vorq (s) | IM (s)   | IM/vorq |"
echo "|------------------------|----------|----------|---------|"
row "Blur 3x3"               "Blur" -morphology Convolve '3x3: 3,3,3 3,8,3 3,3,3'
row "Sharpen 3x3"            "Sharpen" -morphology Convolve '3x3: -1,-1,-1 -1,16,-1 -1,-1,-1'
row "Gaussian Blur 2"        "Gaussian Blur, Blurriness 2" -gaussian-blur 0x3
row "Classic Emboss"         "Classic Emboss, Lightness 250" -emboss 1
row "Twist / -swirl 270"     "Twist, Looseness 100" -swirl 270
row "Whirl/Pinch / -implode" "Whirl/Pinch, Angle 270, Pinch 0.50, Radius 1.00" -implode 0.5
row "Negative"               "Negative" -negate
row "Mirror L/R"             "Mirror L/R" -flop
row "Rotate 90"              "Rotate 90" -rotate 90
