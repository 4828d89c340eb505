#!/usr/bin/env bash
# Runs the GUI flow test on its own virtual display (skipped without one).
#   run-flow.sh PROGRAM SCREENSHOT-FOLDER DATA-FOLDER
set -euo pipefail
command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run is not installed"; exit 77; }
export HOME=${TMPDIR:-/tmp} NO_AT_BRIDGE=1 GTK_THEME=Adwaita
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
