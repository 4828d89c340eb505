#!/usr/bin/env bash
# Builds the seed writer and fills fuzz/corpus/ with the seed corpus: the
# archives made byte by byte by vz_make_seeds, plus a few made by Info-ZIP
# zip. Each seed carries the harness's leading byte (bit 0: Advance; bit 1:
# through the passes).
#
#   fuzz/make_corpus.sh [build dir]      (default: build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-fuzz}"
corpus=fuzz/corpus

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVZ_BUILD_FUZZ=ON -DVZ_BUILD_TESTS=OFF -DVZ_BUILD_GUI=OFF
fi
cmake --build "$build" -j1 --target vz_make_seeds

mkdir -p "$corpus"
"$build/fuzz/vz_make_seeds" "$corpus"

# Both modes for one archive made by a real tool.
put() {
  local name="$1" archive="$2"
  { printf '\000'; cat "$archive"; } >"$corpus/$name.q"
  { printf '\001'; cat "$archive"; } >"$corpus/$name.a"
  { printf '\002'; cat "$archive"; } >"$corpus/$name.pq"
  { printf '\003'; cat "$archive"; } >"$corpus/$name.pa"
}

if command -v zip >/dev/null; then
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  (
    cd "$work"
    mkdir -p src/sub
    printf 'hello from a small file\n' >src/a.txt
    seq 1 400 >src/sub/numbers.txt
    : >src/empty.txt
    zip -q -r plain.zip src
    zip -q -0 -r stored.zip src
    zip -q -X -D no-extras.zip src/a.txt src/sub/numbers.txt
    printf 'data' | zip -q - - >streamed.zip
    seq 1 2000 | zip -q - - >streamed-long.zip
    zip -q -fz -r forced-zip64.zip src
    printf 'data' | zip -q -fz - - >streamed-zip64.zip
  )
  for f in "$work"/*.zip; do
    put "zip-$(basename "$f" .zip)" "$f"
  done
else
  echo "zip not found: only the written seeds are in $corpus" >&2
fi
echo "corpus: $(ls "$corpus" | wc -l) files in $corpus"
