#!/usr/bin/env bash
# Sets up a Debian 12 machine for Morvane and then builds and starts it, or runs every test.
#   tools/dev.sh run    install what is missing, build, start the program
#   tools/dev.sh test   install what is missing, build, run every test (plain and sanitized)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          fonts-liberation fonts-dejavu-core qt6-translations-l10n python3 xvfb xauth)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}

run_program() {
    build release
    local game="$root/build/demo-game"
    [ -e "$game/.morvane-demo" ] || tools/make-demo-install.sh "$game" --files 2000 >/dev/null
    echo "A demo game folder to try the program on: $game"
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
        echo "Without a display, clean it from the terminal: build/release/bin/morvane-cli clean $game all"
    fi
    exec "$root/build/release/bin/morvane"
}

run_tests() {
    build debug
    ctest --preset debug -j "$(nproc)"
    # The same suite again with AddressSanitizer and UndefinedBehaviorSanitizer.
    build sanitize
    ctest --preset sanitize -j "$(nproc)"
}

case "${1:-}" in
    run) install_missing; run_program ;;
    test) install_missing; run_tests ;;
    *) echo "usage: tools/dev.sh run|test" >&2; exit 2 ;;
esac
