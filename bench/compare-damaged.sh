#!/usr/bin/env bash
# Side by side on a damaged archive: the test archive of compare.sh with its
# central directory and end record zeroed, recovered by velmora-zip-cli (Quick
# and Advance), zip -FF followed by unzip, 7zz and bsdtar. Best-of-N wall
# clock and peak RSS, how many regular files each tool wrote, and how many of
# them match the intact archive byte for byte.
#
# usage: bench/compare-damaged.sh [BUILD_DIR] [--size-mb N] [--runs N]
#   BUILD_DIR   the build holding cli/velmora-zip-cli (default: build)
#   --size-mb   approximate size of the test archive, MB (default: 300)
#   --runs      timed runs per tool, the best one counts (default: 3)
#
# Sizes are decimal MB (10^6 bytes), peak RSS included. The peers are expected
# to complain about the damage: their exit status is recorded, not fatal. The
# work folder goes below TMPDIR (default /tmp) and is removed at exit; at its
# fullest it holds about eight times the archive size.
set -euo pipefail
export LC_ALL=C
# shellcheck source=bench/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

usage() { sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; }

parse_common_args "compare-damaged.sh" "$@"
require_tools compare-damaged.sh zip unzip yes gzip awk seq paste base64 sha256sum comm python3 /usr/bin/time

make_work_dir vz-damaged

archive="$work/test.zip"
damaged="$work/damaged.zip"
make_test_archive "$size_mb" "$archive"

# ----------------------------------------------------------------- damage --
# Zeroes everything from the central directory's offset to the end of the
# file, so only the local headers and the data before them are left. Refuses
# an archive whose end record does not point at a central directory header:
# zeroing from a wrong offset would measure a different damage.
cp "$archive" "$damaged"
read -r cd_offset cd_zeroed < <(python3 - "$damaged" <<'EOF'
import struct, sys
with open(sys.argv[1], "r+b") as f:
    size = f.seek(0, 2)
    start = max(0, size - 22 - 65535)  # the end record plus the longest comment
    f.seek(start)
    tail = f.read()
    at = tail.rfind(b"PK\x05\x06")
    if at < 0 or at + 22 > len(tail):
        sys.exit("no end record near the end of the archive")
    offset = struct.unpack_from("<I", tail, at + 16)[0]
    if offset == 0xFFFFFFFF or offset >= start + at:
        sys.exit(f"central directory offset {offset:#x} is out of range (zip64?)")
    f.seek(offset)
    if f.read(4) != b"PK\x01\x02":
        sys.exit(f"no central directory header at {offset:#x}")
    f.seek(offset)
    left = size - offset
    while left:
        chunk = min(left, 1 << 20)
        f.write(bytes(chunk))
        left -= chunk
    print(offset, size - offset)
EOF
)
log "   damaged copy: zeroed $cd_zeroed bytes from offset $cd_offset (central directory and end record)"

# -------------------------------------------------------------- reference --
# The intact archive as unzip extracts it: "HASH  ./PATH" per regular file,
# sorted. A tool's file counts as identical when its path and its bytes match.
manifest() {  # DIR OUT
  (cd "$1" && find . -type f -print0 | xargs -0r sha256sum) | sort >"$2"
}
unzip -qq -o "$archive" -d "$work/reference"
manifest "$work/reference" "$work/reference.sha"
rm -rf "$work/reference"
reference_files=$(wc -l <"$work/reference.sha")
log "   reference: $reference_files regular files (unzip on the intact archive)"

# ----------------------------------------------------------------- timing --
tools=(velmora-quick velmora-advance zip-FF+unzip)
command -v 7zz >/dev/null && tools+=(7zz)
command -v bsdtar >/dev/null && tools+=(bsdtar)

# zip -FF asks whether the archive is a single-disk one once the end record is
# gone, and repeats the question forever on a closed stdin: yes answers it.
# Both commands run in one process tree, so the timing and the peak RSS cover
# the pair; their own exit statuses go to STATUS_FILE.
# shellcheck disable=SC2016  # expanded by the inner bash, not here
zipff_then_unzip='
  yes | zip -FF "$1" --out "$2"
  zip_rc=$?
  unzip -qq -o "$2" -d "$3"
  unzip_rc=$?
  echo "$zip_rc $unzip_rc" >"$4"
  ((zip_rc == 0 && unzip_rc == 0))'

run_tool() {  # TOOL OUTDIR
  case $1 in
    velmora-quick) measure "$1" "$cli" recover --quiet --mode quick --into "$2" "$damaged" ;;
    velmora-advance) measure "$1" "$cli" recover --quiet --mode advance --into "$2" "$damaged" ;;
    zip-FF+unzip) measure "$1" bash -c "$zipff_then_unzip" zipff "$damaged" "$work/fixed.zip" "$2" "$work/zipff.status" ;;
    7zz) measure "$1" 7zz x -y -bd "-o$2" "$damaged" ;;
    bsdtar) measure "$1" bsdtar -xf "$damaged" -C "$2" ;;
  esac
}

declare -A files identical
tally() {  # TOOL: counts what the last run wrote, then frees the space
  manifest "$work/out-$1" "$work/$1.sha"
  files[$1]=$(wc -l <"$work/$1.sha")
  identical[$1]=$(comm -12 "$work/reference.sha" "$work/$1.sha" | wc -l)
  rm -rf "$work/out-$1" "$work/fixed.zip"
}

cat "$damaged" >/dev/null
log "== recovering, $runs run(s) per tool, interleaved"
for ((round = 1; round <= runs; round++)); do
  for tool in "${tools[@]}"; do
    rm -rf "$work/out-$tool" "$work/fixed.zip"
    mkdir -p "$work/out-$tool"  # bsdtar -C wants the folder to exist
    sync
    run_tool "$tool" "$work/out-$tool"
    if ((round == runs)); then tally "$tool"; fi
  done
done

# The engine's own verdicts, from one more run per mode, untimed.
declare -A totals
for mode in quick advance; do
  rc=0
  "$cli" recover --quiet --json --mode "$mode" --into "$work/out-json" "$damaged" >"$work/$mode.json" 2>/dev/null || rc=$?
  totals[$mode]=$(python3 -c '
import json, sys
t = json.load(open(sys.argv[1]))["totals"]
print(", ".join(f"{k} {t[k]}" for k in ("verified", "crcMismatch", "partial", "unverified", "folders", "skipped", "failed", "bytes")))
' "$work/$mode.json" 2>/dev/null) || totals[$mode]="no JSON (exit status $rc)"
  rm -rf "$work/out-json"
done

# ----------------------------------------------------------------- report --
mb() { calc "$1 * 1024 / 1e6" 1; }
exit_note() {  # TOOL
  if [[ $1 == zip-FF+unzip ]]; then
    local zip_rc unzip_rc
    read -r zip_rc unzip_rc <"$work/zipff.status"
    echo "zip $zip_rc, unzip $unzip_rc"
  else
    echo "${status[$1]:-0}"
  fi
}

# Only the central directory is gone and every local header still holds its
# CRC, so the engine has no excuse for anything short of the reference.
failures=0
for tool in velmora-quick velmora-advance; do
  if [[ -n ${status[$tool]:-} ]] || ((identical[$tool] != reference_files || files[$tool] != reference_files)); then
    log "!! $tool: exit status ${status[$tool]:-0}, ${files[$tool]} files written," \
      "${identical[$tool]} of $reference_files identical"
    failures=$((failures + 1))
  fi
done

echo
echo "Damaged archive: $(calc "$archive_bytes / 1e6" 1) MB, $entries entries, central directory and end record zeroed" \
  "($cd_zeroed bytes from offset $cd_offset). Reference: $reference_files regular files. Best of $runs, wall clock."
echo
echo "| tool | seconds | peak RSS MB | ratio to velmora quick | files extracted | identical | exit status |"
echo "|---|--:|--:|--:|--:|--:|---|"
for tool in "${tools[@]}"; do
  printf '| %s | %.3f | %s | %s | %s | %s | %s |\n' "$tool" "${best[$tool]}" "$(mb "${rss[$tool]}")" \
    "$(calc "${best[$tool]} / ${best[velmora-quick]}" 2)" "${files[$tool]}" "${identical[$tool]}" "$(exit_note "$tool")"
done
command -v 7zz >/dev/null || echo "(7zz not installed: skipped)"
command -v bsdtar >/dev/null || echo "(bsdtar not installed: skipped)"
echo
echo "velmora-zip-cli --json totals: quick: ${totals[quick]}; advance: ${totals[advance]}"

for tool in "${tools[@]}"; do
  if [[ -n ${status[$tool]:-} ]]; then
    echo
    echo "$tool exited with status ${status[$tool]}; its messages (first 12 lines):"
    head -n 12 "$work/$tool.err" || true
  fi
done
((failures == 0))
