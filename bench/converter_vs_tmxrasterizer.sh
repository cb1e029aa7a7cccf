#!/usr/bin/env bash
# The converter against Tiled's tmxrasterizer on the same picture: a 32 x 24
# grid of 8 full layers of the first block set's pictures (pitch 33, magenta
# see-through) over a gradient, 1024 x 768; for cubestacks-convert a model, for
# tmxrasterizer a map of 8 tile layers over the gradient as an image layer.
#
#   bench/converter_vs_tmxrasterizer.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR is the build folder (build by default; its bin/ holds the converter,
# the block sets and convert_workload); RUNS the timed runs of each one-file
# command (30 by default; the 200-file commands run a fifth as often, at least 3).
# It times, with hyperfine, in turn and in one run:
#   - one file: cubestacks-convert model.cst out.png against tmxrasterizer map.tmx out.png
#   - 200 files: one batch call of cubestacks-convert against 200 runs of tmxrasterizer
# and the peak memory (maximum resident set size) of the one-file commands with
# /usr/bin/time -v. The two pictures are compared first: they must be the same.
# Nothing is installed: a missing tool is named with the package that has it.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
RUNS=${2:-30}
BIN="$BUILD_DIR/bin"
BATCH_RUNS=$(( RUNS / 5 > 3 ? RUNS / 5 : 3 ))
COUNT=200

skip() {
  echo "SKIPPED: $1" >&2
  exit 0
}
command -v tmxrasterizer >/dev/null 2>&1 ||
  skip "tmxrasterizer is not installed (Debian: apt-get install tiled)"
command -v hyperfine >/dev/null 2>&1 ||
  skip "hyperfine is not installed (Debian: apt-get install hyperfine)"
[ -x /usr/bin/time ] || skip "/usr/bin/time is not installed (Debian: apt-get install time)"
command -v compare >/dev/null 2>&1 ||
  skip "ImageMagick's compare is not installed (Debian: apt-get install imagemagick)"
for f in "$BIN/cubestacks-convert" "$BIN/convert_workload" "$BIN/System/sd01.csd"; do
  [ -e "$f" ] || skip "$f is missing: build first (./build.sh test or cmake --build $BUILD_DIR)"
done

export QT_QPA_PLATFORM=offscreen
WORK=$(mktemp -d "${TMPDIR:-/tmp}/cubestacks-vs-tmx.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
# A runtime folder of their own, so that neither tool warns about a missing one.
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
CONVERT=$(realpath "$BIN/cubestacks-convert")

# The workload: one model and one map, then COUNT copies of each.
"$BIN/convert_workload" "$BIN" "$WORK"
mkdir -p "$WORK/models" "$WORK/maps" "$WORK/out-models" "$WORK/out-maps"
for i in $(seq -w 1 $COUNT); do
  cp "$WORK/model.cst" "$WORK/models/model$i.cst"
  cp "$WORK/map.tmx" "$WORK/maps/map$i.tmx"
done
cp "$WORK/sheet.bmp" "$WORK/background.png" "$WORK/maps/"

# The same picture from both, or the comparison is void.
"$CONVERT" "$WORK/model.cst" "$WORK/convert.png"
tmxrasterizer "$WORK/map.tmx" "$WORK/tmx.png"
differing=$(compare -metric AE "$WORK/convert.png" "$WORK/tmx.png" null: 2>&1 || true)
if [ "$differing" != "0" ]; then
  echo "error: the two pictures differ ($differing pixels): the workload is wrong" >&2
  exit 1
fi
echo "Both tools draw the same 1024 x 768 picture ($(stat -c %s "$WORK/convert.png") and" \
     "$(stat -c %s "$WORK/tmx.png") bytes of PNG)."

echo
echo "== One file, $RUNS runs each"
hyperfine -N --warmup 3 --runs "$RUNS" \
  -n cubestacks-convert "$CONVERT $WORK/model.cst $WORK/one.png" \
  -n tmxrasterizer "tmxrasterizer $WORK/map.tmx $WORK/one-tmx.png"

echo
echo "== $COUNT files, $BATCH_RUNS runs each"
hyperfine --warmup 1 --runs "$BATCH_RUNS" \
  -n "cubestacks-convert, one batch call" \
  "$CONVERT --to png --output-dir $WORK/out-models $WORK/models" \
  -n "tmxrasterizer, $COUNT runs" \
  "for f in $WORK/maps/*.tmx; do tmxrasterizer \"\$f\" \"$WORK/out-maps/\$(basename \"\$f\" .tmx).png\"; done"

echo
echo "== Peak memory (maximum resident set size), one file"
peak() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'
}
for tool in cubestacks-convert tmxrasterizer; do
  best=""
  for _ in 1 2 3 4 5; do
    if [ "$tool" = cubestacks-convert ]; then
      kb=$(peak "$CONVERT" "$WORK/model.cst" "$WORK/one.png")
    else
      kb=$(peak tmxrasterizer "$WORK/map.tmx" "$WORK/one-tmx.png")
    fi
    if [ -z "$best" ] || [ "$kb" -lt "$best" ]; then best=$kb; fi
  done
  awk -v t="$tool" -v kb="$best" 'BEGIN { printf "%-20s %6.1f MiB (the least of 5 runs)\n", t, kb / 1024 }'
done
