#!/usr/bin/env bash
# Side by side: extracting one intact archive with unzip, 7zz and
# velmora-zip-cli (Quick and Advance), best-of-N wall clock and peak RSS, and
# a check that the engine writes exactly what unzip writes. Then the signature
# scan alone, on a file of the same size that holds no "PK" pair at all.
#
# usage: bench/compare.sh [BUILD_DIR] [--size-mb N] [--runs N]
#   BUILD_DIR   the build holding cli/velmora-zip-cli (default: build)
#   --size-mb   approximate size of the test archive, MB (default: 300)
#   --runs      timed runs per tool, the best one counts (default: 3)
#
# Sizes are decimal MB (10^6 bytes), peak RSS included. Every run reads a warm
# page cache and writes into it: this compares the tools' own work, not the
# disk. The work folder goes below TMPDIR (default /tmp) and is removed at
# exit; at its fullest it holds about ten times the archive size.
set -euo pipefail
export LC_ALL=C
# shellcheck source=bench/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; }

parse_common_args "compare.sh" "$@"
require_tools compare.sh zip unzip gzip awk seq paste base64 diff /usr/bin/time
have_7zz=0
command -v 7zz >/dev/null && have_7zz=1

make_work_dir vz-compare

archive="$work/test.zip"
make_test_archive "$size_mb" "$archive"

# ----------------------------------------------------------------- timing --
tools=(unzip)
((have_7zz)) && tools+=(7zz)
tools+=(velmora-quick velmora-advance)

run_tool() {  # TOOL OUTDIR
  case $1 in
    unzip) measure "$1" unzip -qq -o "$archive" -d "$2" ;;
    7zz) measure "$1" 7zz x -y -bd "-o$2" "$archive" ;;
    velmora-quick) measure "$1" "$cli" recover --mode quick --into "$2" "$archive" ;;
    velmora-advance) measure "$1" "$cli" recover --mode advance --into "$2" "$archive" ;;
  esac
}

cat "$archive" >/dev/null
log "== extracting, $runs run(s) per tool, interleaved"
for ((round = 1; round <= runs; round++)); do
  for tool in "${tools[@]}"; do
    rm -rf "$work/out-$tool"
    sync
    run_tool "$tool" "$work/out-$tool"
  done
done

failures=0
same_as_unzip() {  # TOOL: prints the verdict of diff -r against unzip's output
  if diff -r "$work/out-unzip" "$work/out-$1" >"$work/$1.diff" 2>&1; then
    echo "identical"
  else
    echo "DIFFERENT ($(wc -l <"$work/$1.diff") diff lines, first: $(head -n 1 "$work/$1.diff"))"
    return 1
  fi
}
declare -A check
for tool in "${tools[@]}"; do
  [[ $tool == unzip ]] && continue
  check[$tool]=$(same_as_unzip "$tool") || { [[ $tool == velmora-* ]] && failures=$((failures + 1)); }
  rm -rf "$work/out-$tool"
done
rm -rf "$work/out-unzip"

# ---------------------------------------------------------- signature scan --
# Random bytes with every "K" turned into "k": the "P" bytes stay, so the
# search meets false leads as it does in compressed data, but no signature.
sigfree="$work/signature-free.bin"
head -c "$archive_bytes" /dev/urandom | tr K k >"$sigfree"
cat "$sigfree" >/dev/null
scan_modes=(quick advance)
for ((round = 1; round <= runs; round++)); do
  for mode in "${scan_modes[@]}"; do measure "scan-$mode" "$cli" list --mode "$mode" "$sigfree"; done
done
# The command line reads the whole file once and then says it holds no ZIP
# signature (exit status 2): that is the expected answer here.
for mode in "${scan_modes[@]}"; do
  rc=0
  said=$("$cli" list --mode "$mode" "$sigfree" 2>&1 >/dev/null) || rc=$?
  if ((rc != 2)) || [[ $said != *"holds no ZIP signature"* ]]; then
    log "!! velmora-zip-cli list --mode $mode on signature-free data: exit $rc, $said"
    failures=$((failures + 1))
  fi
  unset "status[scan-$mode]"
done

# ----------------------------------------------------------------- report --
mb() { calc "$1 * 1024 / 1e6" 1; }
echo
echo "Archive: $(calc "$archive_bytes / 1e6" 1) MB, $entries entries, $(calc "${unpacked:-0} / 1e6" 1) MB uncompressed;" \
  "best of $runs, wall clock"
printf '%-18s %10s %12s %15s  %s\n' tool seconds "peak RSS MB" "ratio to unzip" "output vs unzip"
for tool in "${tools[@]}"; do
  note=${check[$tool]:-reference}
  if [[ -n ${status[$tool]:-} ]]; then
    note="$note; exit status ${status[$tool]} (see below)"
    [[ $tool == velmora-* ]] && failures=$((failures + 1))
  fi
  printf '%-18s %10.3f %12s %15s  %s\n' "$tool" "${best[$tool]}" "$(mb "${rss[$tool]}")" \
    "$(calc "${best[$tool]} / ${best[unzip]}" 2)" "$note"
done
((have_7zz)) || echo "(7zz not installed: skipped)"

echo
echo "Signature scan alone: velmora-zip-cli list on $(calc "$archive_bytes / 1e6" 1) MB of signature-free data," \
  "best of $runs (process start included)"
printf '%-18s %10s %12s %10s\n' mode seconds "peak RSS MB" "MB/s"
for mode in "${scan_modes[@]}"; do
  printf '%-18s %10.4f %12s %10s\n' "$mode" "${best[scan-$mode]}" "$(mb "${rss[scan-$mode]}")" \
    "$(calc "$archive_bytes / 1e6 / ${best[scan-$mode]}" 0)"
done

for name in "${!status[@]}"; do
  echo
  echo "$name exited with status ${status[$name]}; its messages:"
  head -n 20 "$work/$name.err" || true
done
for tool in "${tools[@]}"; do
  if [[ ${check[$tool]:-} == DIFFERENT* ]]; then
    echo
    echo "diff -r out-unzip out-$tool (first 40 lines):"
    head -n 40 "$work/$tool.diff"
  fi
done
((failures == 0))
