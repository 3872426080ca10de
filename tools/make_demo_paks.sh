#!/usr/bin/env bash
# Regenerates the PAK archives of the demo Quake 2 directory with make_pak.
#
#   tools/make_demo_paks.sh [--check] [PATH/TO/make_pak]
#
# Without a make_pak path the script uses build-tools/make_pak or build/make_pak, and builds
# build-tools/make_pak when neither exists. With --check nothing under demo/ is written: the
# archives are made in a temporary directory and compared byte for byte with the committed ones.
#
# What the archives hold, and why (a map is an entry "maps/<name>.bsp"):
#   baseq2/pak0.pak   the base game's first archive, which the map scan never opens: its map
#                     hidden_stock must never show up among the available maps.
#   baseq2/PAK1.PAK   upper-case file name, found only by a case-blind "*.pak" listing.
#                     harbor      also a loose map and in the rotation: the rotation row gets "*"
#                     subway      also in action/pak0.pak: one row with "*"
#                     CastleKeep  capitals in the entry name are kept
#                     ctf/flagrun a map in a subfolder of maps/
#                     Ignored.BSP upper-case extension: not a map
#                     v1.2/oldbase.bsp  a dot in the folder name: not a map
#   action/pak0.pak   the mod's pak0 is scanned, unlike the base game's.
#                     warehouse   also a loose map in action/maps: one row with "*"
#                     subway      second archive holding it
#                     depot       otherwise only in the catalogue maps.lst: listed without "*"
# Every archive also holds entries that are not maps (sounds, pictures, skins, text).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CHECK=0
if [[ ${1:-} == --check ]]; then
    CHECK=1
    shift
fi
MAKE_PAK=${1:-}

if [[ -z $MAKE_PAK ]]; then
    for candidate in "$ROOT/build-tools/make_pak" "$ROOT/build/make_pak"; do
        if [[ -x $candidate ]]; then
            MAKE_PAK=$candidate
            break
        fi
    done
fi
if [[ -z $MAKE_PAK ]]; then
    cmake -S "$ROOT" -B "$ROOT/build-tools" -DTOLVANE_BUILD_UI=OFF -DTOLVANE_BUILD_TESTS=OFF >/dev/null
    cmake --build "$ROOT/build-tools" --target make_pak >/dev/null
    MAKE_PAK=$ROOT/build-tools/make_pak
fi

# The start of a Quake 2 map file: "IBSP" and version 38. Nothing reads further.
BSP='IBSP\x26\0\0\0'
# A RIFF header is enough to make a sound entry look like one.
WAV='RIFF\x24\0\0\0WAVEfmt '

make_archives() {
    local out=$1
    mkdir -p "$out/baseq2" "$out/action"

    "$MAKE_PAK" "$out/baseq2/pak0.pak" \
        "pics/colormap.pcx:\x0a\x05\x01\x08" \
        "maps/hidden_stock.bsp:$BSP" \
        "sound/world/amb1.wav:$WAV" \
        "default.cfg:// stock key bindings\r\nbind TAB inven\r\n"

    "$MAKE_PAK" "$out/baseq2/PAK1.PAK" \
        "maps/harbor.bsp:$BSP" \
        "maps/subway.bsp:$BSP" \
        "maps/CastleKeep.bsp:$BSP" \
        "maps/ctf/flagrun.bsp:$BSP" \
        "maps/Ignored.BSP:$BSP" \
        "maps/v1.2/oldbase.bsp:$BSP" \
        "textures/harbor/crate1.wal:crate" \
        "sound/harbor/gulls.wav:$WAV" \
        "readme.txt:Extra maps for the demo server.\r\n"

    "$MAKE_PAK" "$out/action/pak0.pak" \
        "pics/aqlogo.pcx:\x0a\x05\x01\x08" \
        "maps/warehouse.bsp:$BSP" \
        "maps/subway.bsp:$BSP" \
        "maps/depot.bsp:$BSP" \
        "players/actionmale/navy.pcx:\x0a\x05\x01\x08" \
        "sound/radio/male/go.wav:$WAV"
}

ARCHIVES=(baseq2/pak0.pak baseq2/PAK1.PAK action/pak0.pak)
DEMO=$ROOT/demo/quake2

if ((CHECK)); then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    make_archives "$tmp"
    status=0
    for a in "${ARCHIVES[@]}"; do
        if ! cmp -s "$tmp/$a" "$DEMO/$a"; then
            echo "demo/quake2/$a differs from what tools/make_demo_paks.sh makes; rerun it" >&2
            status=1
        fi
    done
    ((status == 0)) && echo "demo archives match the generator"
    exit $status
fi

make_archives "$DEMO"
for a in "${ARCHIVES[@]}"; do
    echo "wrote demo/quake2/$a"
done
