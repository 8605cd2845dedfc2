#!/usr/bin/env bash
# Mutation check: each mutant of mutants.txt ("file<TAB>text<TAB>replacement")
# is put alone into a scratch copy of the tree, rebuilt incrementally and
# tested; it is killed when a test fails. Prints each mutant's fate and the
# score. Usage: run.sh [--check] [PATTERN]  (PATTERN: only matching lines;
# --check: only verify that every text occurs exactly once).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
LIST=${MUTANTS:-$ROOT/tests/mutate/mutants.txt}
WORK=${MUTATE_DIR:-/tmp/vorq-mutate-$(id -u)}
TREE=$WORK/tree BUILD=$WORK/build
# Tests put their files here, apart from any other run going on at the same time.
export TEST_TMPDIR=$WORK/tmp
mkdir -p "$TEST_TMPDIR"
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work} CCACHE_DIR=${CCACHE_DIR:-/work/.ccache}
check=0
[ "${1:-}" = --check ] && { check=1; shift; }
pattern=${1:-}

occurrences() { MUT_TEXT=$2 perl -0777 -ne '$n = () = /\Q$ENV{MUT_TEXT}\E/g; print $n' "$1"; }
build() {  # the programs the tests run (gui_tests brings the editor), not the install test
  nice cmake --build "$BUILD" -j "${JOBS:-2}" --target core_tests editor_tests vorqtile-cli gui_tests >"$WORK/build.log" 2>&1 </dev/null
}

# 0: every test passes, 1: one fails, 2: no build. FAST=1 runs the tests without
# windows first and stops at the first failure, and builds and runs the window
# tests only when those pass: the same verdict in far less time, but
# fails.txt then names the first failure only.
verdict() {
  local t=${TIMEOUT:-900} quick=(core_tests editor_tests vorqtile-cli)
  if [ "${FAST:-0}" = 1 ]; then
    nice cmake --build "$BUILD" -j "${JOBS:-2}" --target "${quick[@]}" >"$WORK/build.log" 2>&1 </dev/null || return 2
    timeout -k 10 "$t" ctest --test-dir "$BUILD" -E 'install_tests|gui_tests' --stop-on-failure --output-on-failure -j1 \
      >"$WORK/test.log" 2>&1 </dev/null || return 1
    build || return 2
    timeout -k 10 "$t" ctest --test-dir "$BUILD" -R gui_tests --output-on-failure -j1 >"$WORK/test.log" 2>&1 </dev/null || return 1
    return 0
  fi
  build || return 2
  timeout -k 10 "$t" ctest --test-dir "$BUILD" -E install_tests --output-on-failure -j1 >"$WORK/test.log" 2>&1 </dev/null || return 1
}

# The scratch tree: files are copied only when they differ, so the build stays incremental.
PARTS="src tests tools data docs fuzz"
mkdir -p "$TREE"
if [ $check -eq 0 ]; then
  (cd "$ROOT" && find CMakeLists.txt README.md $PARTS -type f) | while read -r f; do
    cmp -s "$ROOT/$f" "$TREE/$f" || { mkdir -p "$(dirname "$TREE/$f")"; cp "$ROOT/$f" "$TREE/$f"; }
  done
  (cd "$TREE" && find $PARTS -type f) | while read -r f; do [ -e "$ROOT/$f" ] || rm -f "$TREE/$f"; done
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  [ -f "$BUILD/build.ninja" ] || cmake -S "$TREE" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORQ_BENCH=OFF \
    "${launcher[@]}" >/dev/null || exit 1
  build || { echo "the unchanged tree does not build: $WORK/build.log"; exit 1; }
  ctest --test-dir "$BUILD" -E install_tests -j1 >"$WORK/test.log" 2>&1 || { echo "the unchanged tree fails its tests: $WORK/test.log"; exit 1; }
fi

killed=0 survived=0 bad=0
[ $check -eq 0 ] && : >"$WORK/fails.txt"
while IFS=$'\t' read -r file text repl; do
  case "$file" in ''|'#'*) continue ;; esac
  [ -n "$pattern" ] && ! printf '%s\t%s\t%s\n' "$file" "$text" "$repl" | grep -qF -- "$pattern" && continue
  what="$file: $text -> $repl"
  n=$(occurrences "$ROOT/$file" "$text" 2>/dev/null || echo 0)
  if [ "$n" != 1 ]; then
    echo "BAD      $what (the text occurs $n times)"; bad=$((bad + 1)); continue
  fi
  [ $check -eq 1 ] && continue
  MUT_TEXT=$text MUT_REPL=$repl perl -0777 -i -pe 's/\Q$ENV{MUT_TEXT}\E/$ENV{MUT_REPL}/' "$TREE/$file"
  verdict
  status=$?
  if [ $status = 2 ]; then
    echo "BAD      $what (does not build)"; bad=$((bad + 1))
  elif [ $status = 0 ]; then
    echo "SURVIVED $what"; survived=$((survived + 1))
  else
    # Every failing test, for seeing which tests a mutant needs (fails.txt).
    by=$(grep -oE '\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+|FAIL!  : [A-Za-z:]+::[A-Za-z0-9_]+|[0-9]+ - [a-z_]+ \(' "$WORK/test.log" |
         sed -E 's/^\[  FAILED  \] //; s/^FAIL!  : .*::/gui:/; s/^[0-9]+ - ([a-z_]+) \(/\1/' | sort -u | tr '\n' ' ')
    printf '%s\t%s\n' "$what" "$by" >>"$WORK/fails.txt"
    echo "killed   $what (${by:-timeout})"; killed=$((killed + 1))
  fi
  cp "$ROOT/$file" "$TREE/$file"  # a fresh time, so the next build compiles it again
done <"$LIST"
[ $check -eq 0 ] && build
total=$((killed + survived))
[ $total -gt 0 ] && echo "score: $killed of $total killed ($(awk "BEGIN {printf \"%.1f\", 100 * $killed / $total}") %), $(date +%F)"
[ $bad -eq 0 ]
