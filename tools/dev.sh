#!/usr/bin/env bash
# Sets up a Debian 12 machine for Morvane and then builds and starts it, or runs every test.
#   tools/dev.sh run    install what is missing, build, start the program
#   tools/dev.sh test   install what is missing, build, run every test (plain and sanitized, and
#                       the Windows build under Wine), then build the Debian package and check it
#   tools/dev.sh package  install what is missing, build the Debian package into build/package
#   tools/dev.sh windows  install what is missing, build the Windows zip and installer into
#                         build/windows
set -euo pipefail
# A failure inside $(...) (the package's build) fails the script too.
shopt -s inherit_errexit

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# What building and starting the program needs; then what the tests, the Debian package and the
# Windows build need besides (Wine, mingw-w64, NSIS and lintian are most of the download).
# gettext: msgfmt compiles the translations into the programs, xgettext checks their template.
run_packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev fonts-liberation
              fonts-dejavu-core qt6-translations-l10n python3 publicsuffix gettext)
# locales: the Russian locale that the Windows tests give Wine, made in a scratch folder.
test_packages=(libgtest-dev libgmock-dev xvfb xauth dpkg-dev lintian desktop-file-utils appstream
               man-db g++-mingw-w64-x86-64-posix wine wine64 googletest nsis locales)
package_packages=(dpkg-dev)
windows_packages=(g++-mingw-w64-x86-64-posix googletest nsis)

# Installs those of the packages named that are missing.
install_missing() {
    local missing=()
    for p in "$@"; do
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

# A display of its own for the Windows tests, whatever DISPLAY says: they move the pointer.
start_display() {
    local number
    read -r number xvfb_pid < <(tools/test-display.sh) || return 1
    export DISPLAY=":$number"
}

# Ends what the Windows tests started: their display and Wine's server.
stop_windows_tests() {
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    WINEPREFIX="$root/build/windows/wine" wineserver -k 2>/dev/null || true
}

# The Windows build (mingw-w64) with its tests under Wine, in the build folder's own prefix; then
# its zip, checked against the Linux driver of the debug build, and its installer, installed and
# uninstalled in that prefix.
windows_tests() {
    build windows
    start_display
    trap stop_windows_tests EXIT
    ctest --preset windows -j "$(nproc)"
    build_windows_packages >/dev/null
    local zip=(build/windows/Morvane-*-win64.zip) setup=(build/windows/Morvane-*-win64-setup.exe)
    tests/package/check-zip.sh "${zip[0]}" build/debug/bin/morvane-cli
    tests/package/check-installer.sh "${setup[0]}" "${zip[0]}"
}

# Prints the path of the package it built.
build_package() {
    build package >&2
    rm -f build/package/morvane_*.deb
    cpack --preset package >/dev/null
    ls build/package/morvane_*.deb
}

# Prints the paths of what it built: the zip, then the installer.
build_windows_packages() {
    build windows >&2
    rm -f build/windows/Morvane-*-win64.zip build/windows/Morvane-*-win64-setup.exe
    cpack --preset windows >/dev/null
    ls build/windows/Morvane-*-win64.zip
    ls build/windows/Morvane-*-win64-setup.exe
}

run_tests() {
    build debug
    ctest --preset debug -j "$(nproc)"
    # The same suite again with AddressSanitizer and UndefinedBehaviorSanitizer.
    build sanitize
    ctest --preset sanitize -j "$(nproc)"
    windows_tests
    # The package, built as a release and checked as installed.
    tests/package/check-deb.sh "$(build_package)"
}

case "${1:-}" in
    run) install_missing "${run_packages[@]}"; run_program ;;
    test) install_missing "${run_packages[@]}" "${test_packages[@]}"; run_tests ;;
    package) install_missing "${run_packages[@]}" "${package_packages[@]}"; build_package ;;
    windows) install_missing "${run_packages[@]}" "${windows_packages[@]}"; build_windows_packages ;;
    *) echo "usage: tools/dev.sh run|test|package|windows" >&2; exit 2 ;;
esac
