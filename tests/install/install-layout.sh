#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks that everything lands
# where the installed settings say the programs will look for it, then runs
# the installed command-line program on the installed sample with --log.
#   install-layout.sh BUILD-DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/prefix
export HOME=$root/home XDG_STATE_HOME=$root/state XDG_CONFIG_HOME=$root/config
mkdir -p "$HOME"
unset VELMORA_ZIP_CONFIG
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAILED: $*" >&2; exit 1; }
need() { [[ -e $1 ]] || fail "missing $1"; }

need "$prefix/bin/velmora-zip-cli"
settings=$prefix/etc/velmora-zip/settings.ini
need "$settings"
grep -qx '\[VFZIP\]' "$settings" || fail "no [VFZIP] section in $settings"
grep -qx "FilePath=$prefix/share/velmora-zip" "$settings" || fail "FilePath does not name the data folder"
grep -qx "LogPath=$XDG_STATE_HOME/velmora-zip" "$settings" || fail "LogPath does not name the state folder"
data=$prefix/share/velmora-zip
for skin in Browse about Flash analysis preview file-saving view-log; do need "$data/skin/$skin.bmp"; done
need "$data/Velmora for Zip.html"
need "$data/sample/damaged-sample.zip"
if [[ -e $build/app/velmora-zip ]]; then
  need "$prefix/bin/velmora-zip"
  for size in 16 32 48 64 128 256; do need "$prefix/share/icons/hicolor/${size}x${size}/apps/velmora-zip.png"; done
  need "$prefix/share/icons/hicolor/scalable/apps/velmora-zip.svg"
  need "$prefix/share/applications/velmora-zip.desktop"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/velmora-zip.desktop"
  fi
fi

# The installed program finds the installed settings beside itself: the log
# goes to the state folder they name.
status=0
"$prefix/bin/velmora-zip-cli" recover -q --log --out "$root/out" "$data/sample/damaged-sample.zip" || status=$?
((status == 1)) || fail "recovering the sample ended with $status, not 1 (one entry breaks off)"
grep -q "Start Log File" "$XDG_STATE_HOME/velmora-zip/Activity Log.txt" || fail "no log in the state folder"
echo "install layout ok"
