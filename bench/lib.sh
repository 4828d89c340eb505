# shellcheck shell=bash
# Shared by compare.sh and compare-damaged.sh; source it, do not run it.
#
# The caller sets `work` to a scratch folder it owns (and removes at exit)
# before calling anything here. make_test_archive builds the mixed test
# archive; measure times one run of a command.
# shellcheck disable=SC2154  # work comes from the caller

log() { printf '%s\n' "$*" >&2; }
calc() { awk "BEGIN { printf \"%.${2:-3}f\", $1 }"; }

# ---------------------------------------------------------------- content --
# Each generator: BYTES FILE SEED. Text is made to compress the way its kind
# does in real life; the seeds make every file different.

gen_logs() {  # server log lines with a running clock, about 6:1
  awk -v n="$1" -v seed="$3" '
  BEGIN {
    srand(seed)
    split("INFO INFO INFO INFO WARN DEBUG DEBUG ERROR", level, " ")
    split("GET GET GET POST POST PUT DELETE", verb, " ")
    split("/api/v1/items /api/v1/users /api/v1/orders /static/app.js /static/site.css /login /health /search", path, " ")
    clock = 1715900000 + seed * 86400
    while (t < n) {
      clock += rand() * 0.02
      s = int(clock)
      line = sprintf("2024-05-17T%02d:%02d:%02d.%03dZ %-5s [worker-%02d] %s %s?id=%d status=%d bytes=%d took=%dms",
        int(s / 3600) % 24, int(s / 60) % 60, s % 60, int((clock - s) * 1000), level[1 + int(rand() * 8)],
        int(rand() * 16), verb[1 + int(rand() * 7)], path[1 + int(rand() * 8)], int(rand() * 100000),
        (rand() < 0.95) ? 200 : 404, int(rand() * 50000), int(rand() * rand() * 900))
      print line
      t += length(line) + 1
    }
  }' >"$2"
}

gen_numbers() {  # a table of consecutive numbers, four to a line
  local count=$(($1 / 8 + 1)) start=$(($3 * 10000000))
  seq "$start" $((start + count - 1)) | paste -d, - - - - >"$2"
}

gen_mixed() {  # a line number and 40 base64 characters of random bytes
  local lines=$(($1 / 49 + 1)) start=$(($3 * 1000000))
  paste -d' ' <(seq "$start" $((start + lines - 1))) <(head -c $((lines * 30)) /dev/urandom | base64 -w 40) >"$2"
}

gen_base64() {  # random bytes, base64 encoded, as in mail or JSON blobs
  head -c $(($1 * 3 / 4)) /dev/urandom | base64 -w 76 >"$2"
}

gen_binary() {  # incompressible: zip stores it as is
  head -c "$1" /dev/urandom >"$2"
}

# Many small source-like files, written by one awk process: ROOT COUNT SEED.
gen_tree() {
  awk -v root="$1" -v count="$2" -v seed="$3" '
  BEGIN {
    srand(seed)
    split("value offset length buffer header record stream entry folder status result index", word, " ")
    split("int size_t bool auto uint32_t std::string", type, " ")
    for (i = 0; i < count; i++) {
      file = sprintf("%s/module%02d/unit%05d.cpp", root, i % 20, i)
      size = 512 + int(rand() * rand() * 24000)
      t = 0
      while (t < size) {
        r = rand()
        if (r < 0.15) line = sprintf("// %s the %s of the %s before the %s.", word[1 + int(rand() * 12)],
                                     word[1 + int(rand() * 12)], word[1 + int(rand() * 12)], word[1 + int(rand() * 12)])
        else if (r < 0.25) line = "}"
        else line = sprintf("  %s %s_%d = Compute%s(%s, %d);", type[1 + int(rand() * 6)], word[1 + int(rand() * 12)],
                            int(rand() * 100), word[1 + int(rand() * 12)], word[1 + int(rand() * 12)], int(rand() * 4096))
        print line > file
        t += length(line) + 1
      }
      close(file)
    }
  }'
}

# How many bytes of KIND make one byte of deflated archive, from a sample.
ratio_of() {
  local sample="$work/sample" raw packed
  "gen_$1" 4000000 "$sample" 99
  raw=$(stat -c %s "$sample")
  packed=$(gzip -6 -c "$sample" | wc -c)
  rm -f "$sample"
  calc "$raw / $packed" 4
}

# Splits TOTAL bytes into COUNT files weighted 1..COUNT, so sizes vary.
write_files() {  # KIND TOTAL COUNT DIR PREFIX SUFFIX
  local kind=$1 total=$2 count=$3 dir=$4 prefix=$5 suffix=$6 weights=$(($3 * ($3 + 1) / 2)) i
  mkdir -p "$dir"
  for ((i = 1; i <= count; i++)); do
    "gen_$kind" $((total * i / weights)) "$(printf '%s/%s%02d%s' "$dir" "$prefix" "$i" "$suffix")" "$i"
  done
}

# make_test_archive SIZE_MB ARCHIVE: packs about SIZE_MB of mixed content with
# `zip -q -r` under the top folder "data". Sets archive_bytes, entries,
# unpacked (uncompressed bytes) and methods (count per compression method).
make_test_archive() {
  local budget=$(($1 * 1000000)) archive=$2 src="$work/src" data="$work/src/data" kind m
  log "== generating about $1 MB of archive content in $work"
  local -A ratio
  for kind in logs numbers mixed base64; do ratio[$kind]=$(ratio_of "$kind"); done
  mkdir -p "$data/src" "$data/empty-folder"
  for m in $(seq -w 0 19); do mkdir -p "$data/src/module$m"; done
  # Shares of the archive: 35% incompressible, 15% logs, 25% mixed, 10% base64,
  # 10% number tables, 5% small source files.
  scaled() { calc "$budget * $1 * $2" 0; }
  write_files binary $((budget * 35 / 100)) 6 "$data/media" clip- .bin
  write_files logs "$(scaled 0.15 "${ratio[logs]}")" 5 "$data/logs" server- .log
  write_files mixed "$(scaled 0.25 "${ratio[mixed]}")" 4 "$data/records" batch- .txt
  write_files base64 "$(scaled 0.10 "${ratio[base64]}")" 3 "$data/mail" attachment- .b64
  write_files numbers "$(scaled 0.10 "${ratio[numbers]}")" 3 "$data/tables" series- .csv
  # Small files average about 6.5 kB and deflate about 5:1.
  gen_tree "$data/src" $((budget * 25 / 650000 + 50)) 7
  : >"$data/src/EMPTY"
  (cd "$src" && zip -q -r "$archive" data)
  rm -rf "$src"

  archive_bytes=$(stat -c %s "$archive")
  entries=$(unzip -Z1 "$archive" | wc -l)
  unpacked=$(unzip -Zt "$archive" | awk '{ for (i = 1; i < NF; i++) if ($(i + 1) == "bytes") { print $i; exit } }')
  methods=$(unzip -Zs "$archive" | awk 'NF >= 9 && $1 ~ /^[-d]/ { n[$6]++ } END { for (m in n) printf " %s:%d", m, n[m] }')
  log "   archive: $(calc "$archive_bytes / 1e6" 1) MB, $entries entries, ${unpacked:-?} bytes uncompressed; methods$methods"
}

# ----------------------------------------------------------------- timing --
# measure NAME CMD...: one timed run; wall clock from bash, peak RSS from
# time(1). Keeps the best time and the highest RSS per NAME, and the last
# non-zero exit status; the command's stdout is dropped, its stderr kept in
# $work/NAME.err.
declare -A best rss status
# shellcheck disable=SC2034  # status is read by the callers
measure() {
  local name=$1 t0 t1 rc=0 seconds kb
  shift
  t0=$EPOCHREALTIME
  /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>>"$work/$name.err" || rc=$?
  t1=$EPOCHREALTIME
  seconds=$(calc "$((${t1/./} - ${t0/./})) / 1e6" 4)
  kb=$(tail -n 1 "$work/rss")
  if [[ -z ${best[$name]:-} ]] || awk -v a="$seconds" -v b="${best[$name]}" 'BEGIN { exit !(a < b) }'; then
    best[$name]=$seconds
  fi
  if ((kb > ${rss[$name]:-0})); then rss[$name]=$kb; fi
  if ((rc != 0)); then status[$name]=$rc; fi
}

# The arguments both comparison scripts take: [BUILD_DIR] [--size-mb N]
# [--runs N]. Sets build, size_mb, runs and cli (the command line to time);
# the calling script defines usage().
parse_common_args() {
  local name=$1
  shift
  build=build
  size_mb=300
  runs=3
  while (($#)); do
    case $1 in
      --size-mb) size_mb=${2:?--size-mb needs a number}; shift 2 ;;
      --size-mb=*) size_mb=${1#*=}; shift ;;
      --runs) runs=${2:?--runs needs a number}; shift 2 ;;
      --runs=*) runs=${1#*=}; shift ;;
      -h|--help) usage; exit 0 ;;
      -*) echo "$name: unknown option $1" >&2; usage >&2; exit 64 ;;
      *) build=$1; shift ;;
    esac
  done
  [[ $size_mb =~ ^[1-9][0-9]*$ ]] || { echo "$name: --size-mb wants a positive whole number" >&2; exit 64; }
  [[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "$name: --runs wants a positive whole number" >&2; exit 64; }
  cli=$(realpath -m "$build/cli/velmora-zip-cli")
  if [[ ! -x $cli ]]; then
    echo "$name: $cli not found; build it first: cmake --build $build --target velmora-zip-cli" >&2
    exit 1
  fi
}

# Ends the script with a message unless every named tool is there.
require_tools() {  # SCRIPT-NAME TOOL...
  local name=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$name: $tool is needed" >&2; exit 1; }
  done
}

# Sets work to a fresh folder that goes with the script, however it ends.
make_work_dir() {  # PREFIX
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}
