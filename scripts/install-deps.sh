#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Tolvane need. Does nothing
# (and needs no network) when all of them are installed already.
set -euo pipefail

PACKAGES=(
    cmake g++ make ccache   # build (ccache only speeds up rebuilds)
    libgtest-dev            # tests
    libzip-dev              # the map scan reads zip archives (.pk3, .pkz, .zip)
    clang libclang-rt-14-dev  # libFuzzer targets of the file readers
    qt6-base-dev            # the window
    xvfb xauth              # a display for headless runs
    imagemagick xdotool     # screenshots and scripted input of the real window
    fonts-dejavu-core       # a font, so that text renders without a desktop
)

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
    apt-get install -y --no-install-recommends "${PACKAGES[@]}"
