#!/usr/bin/env bash
# Times vorqtile-cli against ImageMagick 6.9's convert (/usr/bin/convert,
# its default threads) on the same 4096 x 4096 file, as whole processes
# (decode + operation + encode). Each row: one warm-up run of each, then RUNS
# pairs (default 3) run alternately (vorq first, then ImageMagick first, ...);
# the ratio is the median of the pairs' ImageMagick / vorq times.
# Usage: bench/compare_imagemagick.sh [BUILD_DIR] [ROW-FILTER]   (default build, all rows)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
FILTER=${2:-}
CLI=$BUILD/vorqtile-cli
IM=${IM:-/usr/bin/convert}
RUNS=${RUNS:-3}
WORK=${WORK:-/tmp/vorq-bench}
"$IM" -version 2>/dev/null | grep -q "ImageMagick 6" || {
  echo "ImageMagick 6 is needed at $IM: apt-get install imagemagick" >&2; exit 1; }
[ -x "$CLI" ] || { echo "build first: ./vorq test (or cmake --build $BUILD)" >&2; exit 1; }
mkdir -p "$WORK"
IN=$WORK/in4096.bmp
[ -f "$IN" ] || "$IM" -size 4096x4096 plasma:fractal -seed 7 -type TrueColor "BMP3:$IN"
[ -f "$WORK/in4096.png" ] || "$CLI" --input "$IN" --output "$WORK/in4096.png"
[ -f "$WORK/in4096.jpg" ] || "$CLI" --input "$IN" --output "$WORK/in4096.jpg"
# 4 Way Flip doubles both sides: Debian's ImageMagick policy (256 MiB of memory,
# 1 GiB of disk for its pixel cache) refuses an 8192 x 8192 result, so that row
# starts from 2048 x 2048.
[ -f "$WORK/in2048.bmp" ] || "$CLI" --input "$IN" "Resize Fast, Width 2048, Height 2048" --output "$WORK/in2048.bmp"

# Wall time of "$@" in seconds; the command's output is dropped. The clock is
# bash's own: starting `date` twice would add its start-up to every figure.
seconds() {
  local t0 t1
  t0=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  t1=$EPOCHREALTIME
  echo "${t1/,/.} - ${t0/,/.}" | bc -l
}

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# row NAME TARGET IN EXT VORQ-LINES... -- IM-ARGS...
# The vorq lines and the ImageMagick arguments go between the input and the
# output file (EXT: bmp, png or jpg).
row() {
  local name=$1 target=$2 in=$3 ext=$4; shift 4
  [ -z "$FILTER" ] || [[ "$name" == *$FILTER* ]] || return 0
  local vorq=() im=()
  while [ "$1" != "--" ]; do vorq+=("$1"); shift; done
  shift
  im=("$@")
  local out=BMP3:$WORK/m.$ext
  [ "$ext" = bmp ] || out=$WORK/m.$ext
  local load
  load=$(cut -d' ' -f1 /proc/loadavg)
  local V=("$CLI" --input "$in" "${vorq[@]}" --output "$WORK/v.$ext") M=("$IM" "$in" "${im[@]}" "$out")
  seconds "${V[@]}" >/dev/null  # warm-up: caches, page tables
  seconds "${M[@]}" >/dev/null
  local vs=() ms=() rs=() v m
  for k in $(seq "$RUNS"); do
    if [ $((k % 2)) -eq 1 ]; then v=$(seconds "${V[@]}"); m=$(seconds "${M[@]}")
    else m=$(seconds "${M[@]}"); v=$(seconds "${V[@]}"); fi
    vs+=("$v"); ms+=("$m"); rs+=("$(echo "$m / $v" | bc -l)")
  done
  local r met
  r=$(median "${rs[@]}")
  met=$(echo "$r >= $target" | bc -l)
  printf '| %-36s | %7.3f | %7.3f | %6.1f x | %4s x %-7s | %5s |\n' "$name" "$(median "${vs[@]}")" \
    "$(median "${ms[@]}")" "$r" "$target" "$([ "$met" = 1 ] && echo met || echo NOT_MET)" "$load"
}

# Files written before (the inputs above, an earlier build or test run) go to
# the disk first, so that their write-back does not slow the first rows.
sync
echo "4096 x 4096, whole processes, $RUNS alternating pairs after a warm-up, $("$IM" -version | head -1 | cut -d' ' -f2-3), default threads"
echo "start: $(uptime)"
echo "| operation (vorq / ImageMagick)       | vorq s  | IM s    | IM/vorq  | target         | load  |"
echo "|--------------------------------------|---------|---------|----------|----------------|-------|"
B=$IN
row "read + write BMP"                   3 "$B" bmp -- 
row "Blur / -morphology Convolve 3x3"    3 "$B" bmp "Blur" -- -morphology Convolve '3x3: 3,3,3 3,8,3 3,3,3'
row "Sharpen / -morphology Convolve 3x3" 3 "$B" bmp "Sharpen" -- -morphology Convolve '3x3: -1,-1,-1 -1,16,-1 -1,-1,-1'
row "Gaussian Blur 2 / -gaussian-blur 0x3" 20 "$B" bmp "Gaussian Blur, Blurriness 2" -- -gaussian-blur 0x3
row "Classic Emboss / -emboss 1"         3 "$B" bmp "Classic Emboss, Lightness 250" -- -emboss 1
row "Twist / -swirl 270"                 3 "$B" bmp "Twist, Looseness 100" -- -swirl 270
row "Whirl/Pinch / -implode 0.5"         3 "$B" bmp "Whirl/Pinch, Angle 270, Pinch 0.50, Radius 1.00" -- -implode 0.5
row "Waves / -wave 24x20"                3 "$B" bmp "Waves, Amplitude 24, Wave Length 10, Phase 8, Reflective False" -- -wave 24x20
row "SineWave U/D / -wave 50x1365"       3 "$B" bmp "SineWave Up/Down, Peaks 3, Height 50, Wrap = True" -- -wave 50x1365
row "Negative / -negate"                 3 "$B" bmp "Negative" -- -negate
row "Gray Scale / -grayscale Rec601Luma" 3 "$B" bmp "GrayScale" -- -grayscale Rec601Luma -type TrueColor
row "Mirror L/R / -flop"                 3 "$B" bmp "Mirror L/R" -- -flop
row "Rotate 90 / -rotate 90"             3 "$B" bmp "Rotate 90" -- -rotate 90
row "Rotate Angle 45 / -distort SRT 45"  3 "$B" bmp "Rotate Angle, Angle 45" -- -virtual-pixel tile -filter point -distort SRT 45
row "4 Way Flip 2048 -> 4096 / append"   3 "$WORK/in2048.bmp" bmp "4 Way Flip" -- '(' +clone -flop ')' +append '(' +clone -flip ')' -append
row "Resize Smooth 1/2 / -resize 50%"    3 "$B" bmp "Resize Smooth, Width 2048, Height 2048" -- -filter Triangle -resize 2048x2048!
row "PNG round trip / IM default (zlib 7)" 3 "$WORK/in4096.png" png --
row "PNG round trip / IM -quality 35 (zlib 3)" 3 "$WORK/in4096.png" png -- -quality 35
row "JPEG round trip (quality 90, 4:2:0)" 3 "$WORK/in4096.jpg" jpg -- -quality 90 -sampling-factor 2x2
echo "end: $(uptime)"
