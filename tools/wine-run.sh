#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests of the windows preset:
#   tools/wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# PREFIX is the build folder's own Wine prefix, made on first use. Windows there are not left to a
# window manager (there is none under Xvfb, and Wine would wait for one on every window it hides).
set -euo pipefail

prefix=$1
shift
export WINEPREFIX=$prefix WINEDEBUG=-all
# No Mono or Gecko: nothing is offered for download while the prefix is made. No menu builder:
# a shortcut made in the prefix (by the installer's test) must not become a menu entry of the
# machine's own desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -e "$prefix/.morvane-ready" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        wineserver -w
        touch "$prefix/.morvane-ready"
    fi
) 9>"$prefix.lock"

# Wine's own processes (the server, services, the desktop) outlive the program and inherit what
# it holds: given the caller's pipes, they would keep the caller (ctest) waiting until they end.
# So the server is started apart, kept for a while between programs, and the program writes to
# files that are handed on when it ends.
wineserver -p30 </dev/null >/dev/null 2>&1 || true
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
wine "$@" </dev/null >"$out" 2>"$err" || status=$?
cat "$out"
cat "$err" >&2
exit "$status"
