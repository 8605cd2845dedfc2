#!/usr/bin/env bash
# Kills the batch tool (kill -9) at random moments while it replaces an
# existing image and while it writes a log, and checks what is left:
#  - the image is the old one or the new one, whole;
#  - the next save leaves no temporary file behind;
#  - the log holds whole lines only.
# Usage: kill_test.sh CLI WORKDIR [ROUNDS]
set -u
CLI=$(realpath "$1")
WORK=$2
ROUNDS=${3:-10}
rm -rf "$WORK"
mkdir -p "$WORK"
cd "$WORK" || exit 1

fail() {
  echo "kill_test: $*" >&2
  exit 1
}
# Runs the tool in the background and kills it after 0 .. max_ms milliseconds.
kill_after() {
  local max_ms=$1
  shift
  "$CLI" "$@" 2>/dev/null &
  local pid=$!
  sleep "$(printf '0.%03d' $((RANDOM % max_ms)))"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

"$CLI" --new 2048x2048 "Line from X 0 Y 0 To X 2047 Y 1500, Pen Size 9, Pen Color R: 200 G: 30 B: 90, Pen Normal" --output old.bmp || fail "cannot make the old image"
# How long one replacement takes here: the kills land anywhere in it.
start=$(date +%s%N)
"$CLI" --input old.bmp Negative --output new.bmp || fail "cannot make the new image"
save_ms=$((($(date +%s%N) - start) / 1000000 + 1))
((save_ms > 999)) && save_ms=999
yes 'Mirror L/R' | head -n 3000 >recipe.txt

killed_saves=0
leftovers=0
for ((round = 1; round <= ROUNDS; ++round)); do
  # Replacing an existing image.
  cp old.bmp target.bmp
  kill_after "$save_ms" --input old.bmp Negative --output target.bmp
  if cmp -s target.bmp new.bmp; then
    :
  elif cmp -s target.bmp old.bmp; then
    ((++killed_saves))
  else
    fail "round $round: the image is neither the old nor the new one"
  fi
  left=$(find . -maxdepth 1 -name 'target.bmp.*tmp~' | wc -l)
  ((leftovers += left))
  # The next save of the same target clears what a killed save left.
  "$CLI" --input old.bmp --output target.bmp || fail "round $round: the next save failed"
  stale=$(find . -maxdepth 1 -name 'target.bmp.*tmp~' | wc -l)
  [ "$stale" -eq 0 ] || fail "round $round: $stale temporary file(s) survived the next save"
  cmp -s target.bmp old.bmp || fail "round $round: the next save wrote something else"

  # Writing a log: every line that is there is whole (CR LF) and known.
  rm -f run.log
  kill_after 200 --new 64x64 --recipe recipe.txt --log run.log --output logged.bmp
  if [ -s run.log ]; then
    [ "$(tail -c 2 run.log | od -An -tx1 | tr -d ' \n')" = "0d0a" ] || fail "round $round: the log ends inside a line"
    bad=$(tr -d '\r' <run.log | grep -c -v -x -e 'Mirror L/R' -e 'Log starts  - current Gradient: .*')
    [ "$bad" -eq 0 ] || fail "round $round: $bad broken line(s) in the log"
  fi
done
echo "kill_test: $ROUNDS rounds; $killed_saves saves killed before the rename, $leftovers temporary files left by them and removed; all files whole"
