#!/usr/bin/env bash
# Installs the Debian packages Tolvane needs, by what is to be done. Does nothing (and needs no
# network) when all of them are installed already.
#
#   scripts/install-deps.sh [build|tests|screenshots]...
#
# build: compile the program and open its window (the default). tests: build and run every
# test and the fuzz targets (what CI installs). screenshots: a display without a desktop and the
# tools to photograph and click the real window (for looking at it, as developers do).
set -euo pipefail

BUILD=(
    cmake g++ make ccache   # build (ccache only speeds up rebuilds)
    libzip-dev              # the map scan reads zip archives (.pk3, .pkz, .zip)
    qt6-base-dev            # the window
)
TESTS=(
    libgtest-dev              # tests
    clang libclang-rt-14-dev  # libFuzzer targets of the file readers
    fonts-dejavu-core         # a font, so that the window tests measure and draw real text
)
SCREENSHOTS=(
    xvfb xauth              # a display for headless runs
    imagemagick xdotool     # screenshots and scripted input of the real window
)

PACKAGES=("${BUILD[@]}")
for group in "${@:-build}"; do
    case $group in
        build) ;;
        tests) PACKAGES+=("${TESTS[@]}") ;;
        screenshots) PACKAGES+=("${TESTS[@]}" "${SCREENSHOTS[@]}") ;;
        *) echo "install-deps: unknown group $group (build, tests or screenshots)" >&2; exit 2 ;;
    esac
done

installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}

missing=()
for p in "${PACKAGES[@]}"; do
    installed "$p" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
    echo "install-deps: all packages present"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=()
if [[ $(id -u) -ne 0 ]]; then
    SUDO=(sudo)
fi
"${SUDO[@]}" apt-get update
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
