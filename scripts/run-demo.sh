#!/usr/bin/env bash
# Builds Tolvane and opens it on a fresh copy of the demo Quake 2 directory.
#
#   scripts/run-demo.sh [EXTRA ARGS FOR tolvane...]
#
# The copy lives in a new temporary directory whose path is printed first, so what a save
# wrote (and its .bak files) can be looked at afterwards; the tracked files under
# demo/quake2 are never touched. Without a display the program runs under Xvfb.
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
    echo "run-demo: no display, running under Xvfb"
    exec xvfb-run -a "$ROOT/build/tolvane" "$DEMO" "$@"
fi
exec "$ROOT/build/tolvane" "$DEMO" "$@"
