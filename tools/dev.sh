#!/usr/bin/env bash
# Sets up a Debian 12 machine for Morvane and then builds and starts it, or runs every test.
#   tools/dev.sh run    install what is missing, build, start the program
#   tools/dev.sh test   install what is missing, build, run every test (plain and sanitized),
#                       then build the Debian package and check it
#   tools/dev.sh package  install what is missing, build the Debian package into build/package
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          fonts-liberation fonts-dejavu-core qt6-translations-l10n python3 xvfb xauth
          dpkg-dev lintian desktop-file-utils appstream man-db)

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

# Prints the path of the package it built.
build_package() {
    build package >&2
    rm -f build/package/morvane_*.deb
    cpack --preset package >/dev/null
    ls build/package/morvane_*.deb
}

run_tests() {
    build debug
    ctest --preset debug -j "$(nproc)"
    # The same suite again with AddressSanitizer and UndefinedBehaviorSanitizer.
    build sanitize
    ctest --preset sanitize -j "$(nproc)"
    # The package, built as a release and checked as installed.
    tests/package/check-deb.sh "$(build_package)"
}

case "${1:-}" in
    run) install_missing; run_program ;;
    test) install_missing; run_tests ;;
    package) install_missing; build_package ;;
    *) echo "usage: tools/dev.sh run|test|package" >&2; exit 2 ;;
esac
