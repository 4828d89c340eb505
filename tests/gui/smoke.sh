#!/usr/bin/env bash
# Starts the real desktop program on a virtual display: its main window must
# appear; a second copy shows one notice and ends with 0; a third copy started
# while that notice stands ends at once with 0, silently.
#   smoke.sh PATH/TO/velmora-zip
set -euo pipefail
program=$1
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
if [[ -z ${INSIDE_XVFB:-} ]]; then
  INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

home=$(mktemp -d)
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_STATE_HOME=$home/state XDG_CONFIG_HOME=$home/config
# The user's settings come first: the build's data, a log of our own.
mkdir -p "$home/config/velmora-zip" "$home/state/velmora-zip"
printf '[VFZIP]\nFilePath=%s\nLogPath=%s\n' "$(cd "$(dirname "$program")/../res" 2>/dev/null && pwd)" \
  "$home/state/velmora-zip" >"$home/config/velmora-zip/settings.ini"
pids=()

wait_window() {  # name regex, seconds
  for _ in $(seq 1 $(($2 * 10))); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "no window matching '$1' within $2 s" >&2
  return 1
}

"$program" & pids+=($!)
wait_window '^ Velmora for Zip$' 30

"$program" & second=$!; pids+=("$second")
wait_window '^  Velmora for Zip$' 30

# The third copy must not wait for anything.
timeout 20 "$program"
echo "third copy ended with $?"

# Answer the second copy's notice; it must then end with 0.
notice=$(xdotool search --name '^  Velmora for Zip$' | head -n 1)
xdotool windowactivate --sync "$notice" key --clearmodifiers Return || xdotool windowclose "$notice"
rc=0
timeout 20 tail --pid="$second" -f /dev/null || rc=$?
wait "$second" || { echo "second copy ended with $?" >&2; exit 1; }
echo "second copy ended with 0"
((rc == 0))
grep -q "Start Log File" "$home/state/velmora-zip/Activity Log.txt"
echo "main window up, log header written"
