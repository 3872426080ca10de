#!/usr/bin/env bash
# Builds Tolvane and opens it on a fresh copy of the demo Quake 2 directory.
#
#   scripts/run-demo.sh [EXTRA ARGS FOR tolvane...]
#
# The copy lives in a new temporary directory whose path is printed first, so what a save
# wrote (and its .bak files) can be looked at afterwards; the tracked files under
# demo/quake2 are never touched. Without a display (a server reached over ssh) there is no
# window to see: the script prints what the editor read from the demo instead, and says how to
# see the window.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

scripts/install-deps.sh

cmake -S . -B build
cmake --build build --target tolvane -j"$(nproc)"

DEMO=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-demo.XXXXXX")
cp -a demo/quake2/. "$DEMO/"
echo "run-demo: Quake 2 directory is $DEMO"

cd "$DEMO"
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    "$ROOT/build/tolvane" --dump "$DEMO" "$@"
    cat <<EOF

run-demo: there is no display here, so the window was not opened; above is what it would show
(tolvane --dump). To see the window, run this script on a desktop, or over ssh with X forwarding
(ssh -X), or take a screenshot under Xvfb (scripts/install-deps.sh screenshots installs it):
    xvfb-run -s "-screen 0 1280x800x24" sh -c '$ROOT/build/tolvane $DEMO & sleep 5; import -window root shot.png'
The command line works without a display: tolvane --help lists --dump, --set, --save and --start.
EOF
    exit 0
fi
exec "$ROOT/build/tolvane" "$DEMO" "$@"
