#!/usr/bin/env bash
# Checks a built Debian package as a user would meet it: its control fields and file list,
# lintian, the desktop entry and AppStream metadata, and the installed programs themselves,
# unpacked into a throwaway root and run from there on a demo game folder.
#
#   tests/package/check-deb.sh PACKAGE.deb
set -euo pipefail

deb=$(realpath "$1")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-deb: $*" >&2
    exit 1
}
field() {
    dpkg-deb --field "$deb" "$1"
}

# Control fields.
[ "$(field Package)" = morvane ] || fail "package name is '$(field Package)'"
[ "$(field Section)" = games ] || fail "section is '$(field Section)'"
version=$(field Version)
depends=$(field Depends)
for need in qt6-translations-l10n libqt6widgets6 libc6; do
    [[ ", $depends," == *", $need"[\ ,]* ]] || fail "Depends lacks $need: $depends"
done
[ -n "$(field Maintainer)" ] || fail "no maintainer"

# The files, as `cmake --install` lays them out.
dpkg-deb --contents "$deb" | awk '{ print $6 $7 $8 }' | sed 's#^\./##' >"$work/contents"
expected=(
    usr/bin/morvane-\>../libexec/morvane/morvane
    usr/bin/morvane-cli-\>../libexec/morvane/morvane-cli
    usr/libexec/morvane/morvane
    usr/libexec/morvane/morvane-cli
    usr/share/applications/morvane.desktop
    usr/share/metainfo/org.example.Morvane.metainfo.xml
    usr/share/man/man1/morvane.1.gz
    usr/share/man/man1/morvane-cli.1.gz
    usr/share/man/ru/man1/morvane-cli.1.gz
    usr/share/bash-completion/completions/morvane-cli
    usr/share/doc/morvane/copyright
    usr/share/doc/morvane/changelog.gz
)
for name in GameMenu.res LoadingDialog.res LoadingDialogNoBanner.res LoadingDialogVAC.res \
            ScoreBoard.res motd.txt autobuy.txt; do
    expected+=("usr/libexec/morvane/files/$name")
done
sizes=(16 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/morvane.png")
done
for path in "${expected[@]}"; do
    grep -qxF -- "$path" "$work/contents" || fail "the package lacks $path"
done

# Errors fail; warnings and notes are shown, to be read, and so are the package's overrides.
lintian_ok=true
lintian --fail-on error --display-info "$deb" >"$work/lintian" 2>&1 ||
    lintian_ok=false
grep -v 'running with root privileges' "$work/lintian" || true
$lintian_ok || fail "lintian found errors"

dpkg-deb --extract "$deb" "$work/root"
usr="$work/root/usr"
sed -n 's/^morvane: /lintian, overridden: /p' "$usr/share/lintian/overrides/morvane"
desktop-file-validate "$usr/share/applications/morvane.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/org.example.Morvane.metainfo.xml" >"$work/as" ||
    { cat "$work/as"; fail "AppStream metadata"; }
# Their Russian name and summary, for a Russian desktop's menu and software centre.
for key in 'Name\[ru\]' 'Comment\[ru\]' 'GenericName\[ru\]'; do
    grep -q "^$key=." "$usr/share/applications/morvane.desktop" || fail "the desktop entry lacks $key"
done
for element in name summary; do
    grep -q "<$element xml:lang=\"ru\">." "$usr/share/metainfo/org.example.Morvane.metainfo.xml" ||
        fail "the metadata lacks a Russian $element"
done
grep -q "release version=\"$version\"" "$usr/share/metainfo/org.example.Morvane.metainfo.xml" ||
    fail "the metadata's release is not $version"
for size in "${sizes[@]}"; do
    python3 - "$usr/share/icons/hicolor/${size}x${size}/apps/morvane.png" "$size" <<'PY' ||
import struct, sys
data = open(sys.argv[1], 'rb').read(24)
width, height = struct.unpack('>II', data[16:24])
sys.exit(0 if data[:8] == b'\x89PNG\r\n\x1a\n' and width == height == int(sys.argv[2]) else 1)
PY
        fail "icon ${size}x${size} is not a PNG of that size"
done
for page in man1/morvane man1/morvane-cli ru/man1/morvane-cli; do
    warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$usr/share/man/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "manual page $page: $warnings"
done
# `man -L ru morvane-cli` finds the Russian page, made from the same tables as the English one.
MANPATH="$usr/share/man" LC_ALL=C.UTF-8 man -L ru morvane-cli 2>/dev/null | grep -q '^ОПИСАНИЕ' ||
    fail "man -L ru morvane-cli is not the Russian page"
[ "$(MANPATH="$usr/share/man" LC_ALL=C.UTF-8 man -L ru -w morvane-cli)" = \
    "$usr/share/man/ru/man1/morvane-cli.1.gz" ] || fail "man -L ru finds another page"
bash -c 'source "$1" && complete -p morvane-cli' _ "$usr/share/bash-completion/completions/morvane-cli" \
    >/dev/null || fail "the completion does not load"

# The installed programs, run where they were unpacked: they find their replacement files
# beside their real executables, through the links in bin.
[ "$("$usr/bin/morvane-cli" --version)" = "morvane-cli $version" ] || fail "morvane-cli --version"
[ "$("$usr/bin/morvane" --version)" = "morvane $version" ] || fail "morvane --version"
"$root/tools/make-demo-install.sh" "$work/game" --files 50 >/dev/null
# The clean's backup goes to the throwaway root's state folder, not the home folder.
report=$(XDG_STATE_HOME="$work/state" "$usr/bin/morvane-cli" clean "$work/game" all --json) ||
    fail "clean exited $?"
[[ $report == *'"verdict":"possibly removed"'* && $report == *'"backup":"'* ]] ||
    fail "clean reported: $report"
for edition in cstrike cstrike_russian; do
    cmp -s "$work/game/$edition/resource/GameMenu.res" "$usr/libexec/morvane/files/GameMenu.res" ||
        fail "$edition/resource/GameMenu.res is not the installed replacement"
done
echo "check-deb: $(basename "$deb") is sound"
