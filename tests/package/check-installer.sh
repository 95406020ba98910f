#!/usr/bin/env bash
# Checks the Windows installer as a user would meet it, under Wine in the build folder's own
# prefix: a silent installation into Program Files (and again over it, with the desktop shortcut),
# what it laid out against the zip of the same build, the shortcuts, the entry in "Apps &
# features", the installed morvane-cli.exe, an update without the desktop shortcut taking it away,
# a file it cannot write failing the installation, the uninstaller refusing while morvane.exe runs,
# and a silent uninstallation that takes all of it away. morvane.exe needs a display (DISPLAY).
#
#   tests/package/check-installer.sh Morvane-VERSION-win64-setup.exe Morvane-VERSION-win64.zip
set -euo pipefail

setup=$(realpath "$1")
zip=$(realpath "$2")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
prefix="$root/build/windows/wine"
version=$(basename "$setup" | sed -n 's/^Morvane-\(.*\)-win64-setup\.exe$/\1/p')
work=$(mktemp -d)
program_pid=
# The program started below is ended, however the check ends.
trap '[ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "check-installer: $*" >&2
    exit 1
}
wine_run() {
    "$root/tools/wine-run.sh" "$prefix" "$@"
}
[ -n "$version" ] || fail "no version in the name $(basename "$setup")"
[ -n "${DISPLAY:-}" ] || fail "no display (DISPLAY) for morvane.exe"

drive_c="$prefix/drive_c"
installed="$drive_c/Program Files/Morvane"
windows_installed='C:\Program Files\Morvane'
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Morvane.lnk"
desktop="$drive_c/users/Public/Desktop/Morvane.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane'

# What is there of an installation, one line each; nothing when there is none.
leftovers() {
    local path
    for path in "$installed" "$start_menu" "$desktop"; do
        [ ! -e "$path" ] || echo "$path"
    done
    wine_run reg query "$key" >/dev/null 2>&1 && echo "$key"
    return 0
}

# A run stopped half-way leaves its installation in the prefix: taken away before this one.
if [ -n "$(leftovers)" ]; then
    rm -rf "$installed" "$start_menu" "$desktop"
    wine_run reg delete "$key" /f >/dev/null 2>&1 || true
fi

wine_run "$setup" /S || fail "the installer exited $?"
[ ! -e "$desktop" ] || fail "a desktop shortcut without /DESKTOP"
# Again over the first, as an update is installed, now with the desktop shortcut.
wine_run "$setup" /S /DESKTOP || fail "the installer exited $? over an installation"

# The zip's folder, file by file and byte by byte, and the uninstaller; the shortcuts to the
# program; the installer and the uninstaller carrying the program's icon, every size of it.
python3 - "$zip" "$installed" "$root/resources/icons/morvane-program.ico" "$setup" \
    "$start_menu" "$desktop" <<'PY' || fail "the installation is not what it should be"
import os, struct, sys, zipfile
zip_path, installed, icon, setup, *shortcuts = sys.argv[1:]
archive = zipfile.ZipFile(zip_path)
top = os.path.basename(zip_path)[:-len(".zip")] + "/"
wanted = {n[len(top):]: archive.read(n) for n in archive.namelist() if not n.endswith("/")}
found = {os.path.relpath(os.path.join(folder, name), installed).replace(os.sep, "/")
         for folder, _, names in os.walk(installed) for name in names}
# Each package strips its programs apart, and strip writes the time into a program's header (and
# the checksum over it): those two fields are left out of the comparison.
def unstamped(data):
    if data[:2] != b"MZ":
        return data
    header = struct.unpack_from("<I", data, 0x3c)[0]
    data = bytearray(data)
    data[header + 8:header + 12] = data[header + 88:header + 92] = bytes(4)
    return data
problems = []
if found != set(wanted) | {"Uninstall.exe"}:
    problems.append(f"installed {sorted(found)}, the zip holds {sorted(wanted)}")
problems += [f"{name} differs from the zip's" for name in sorted(set(wanted) & found)
             if unstamped(open(os.path.join(installed, name), "rb").read()) != unstamped(wanted[name])]
for shortcut in shortcuts:
    if not os.path.exists(shortcut):
        problems.append(f"no shortcut {shortcut}")
    elif b"C:\\Program Files\\Morvane\\morvane.exe" not in open(shortcut, "rb").read():
        problems.append(f"{shortcut} does not start morvane.exe")
data = open(icon, "rb").read()
count = struct.unpack("<H", data[4:6])[0]
images = [data[offset:offset + size] for size, offset in
          (struct.unpack("<II", data[14 + 16 * i:22 + 16 * i]) for i in range(count))]
for program in (setup, os.path.join(installed, "Uninstall.exe")):
    content = open(program, "rb").read() if os.path.exists(program) else b""
    if not all(image in content for image in images):
        problems.append(f"{os.path.basename(program)} lacks the program's icon")
if problems:
    print("\n".join(problems), file=sys.stderr)
    sys.exit(1)
PY

# The entry in "Apps & features".
wine_run reg query "$key" | tr -d '\r' >"$work/key" || fail "no uninstall entry $key"
size_kib=$(du -sk --apparent-size "$installed" | cut -f1)
while read -r name type value; do
    line=$(grep -E "^ +$name +" "$work/key") || fail "the uninstall entry lacks $name"
    read -r _ found_type found_value <<<"$line"
    [ "$found_type $found_value" = "$type $value" ] ||
        fail "the uninstall entry's $name is '$found_type $found_value', not '$type $value'"
done <<EOF
DisplayName REG_SZ Morvane
DisplayVersion REG_SZ $version
Publisher REG_SZ Morvane developers
DisplayIcon REG_SZ $windows_installed\\morvane.exe,0
InstallLocation REG_SZ $windows_installed
UninstallString REG_SZ "$windows_installed\\Uninstall.exe"
NoModify REG_DWORD 0x1
NoRepair REG_DWORD 0x1
EOF
estimated=$(awk '$1 == "EstimatedSize" && $2 == "REG_DWORD" { print $3 }' "$work/key")
estimated=$((${estimated:-0}))
[ "$estimated" -ge $((size_kib * 9 / 10)) ] &&
    [ "$estimated" -le $((size_kib * 11 / 10 + 4)) ] ||
    fail "EstimatedSize is $estimated KiB, the installation holds $size_kib KiB"

cli_version=$(wine_run "$windows_installed\\morvane-cli.exe" --version | tr -d '\r') ||
    fail "the installed morvane-cli.exe --version exited $?"
[ "$cli_version" = "morvane-cli $version" ] ||
    fail "the installed morvane-cli.exe says '$cli_version'"

# An update with the desktop box unticked takes the desktop shortcut away, and keeps the rest.
wine_run "$setup" /S || fail "the installer exited $? for an update without the desktop shortcut"
[ ! -e "$desktop" ] || fail "an update without /DESKTOP kept the desktop shortcut"
[ -e "$start_menu" ] || fail "an update without /DESKTOP took the Start-menu shortcut"
wine_run "$setup" /S /DESKTOP || fail "the installer exited $? for an update with the desktop shortcut"

# A file the installer cannot write (a folder in its place here; on Windows, the program still
# running) fails the installation, rather than leaving the old file under the new version.
blocked="$installed/files/motd.txt"
rm "$blocked"
mkdir "$blocked"
status=0
wine_run "$setup" /S || status=$?
rmdir "$blocked"
[ "$status" -ne 0 ] || fail "the installer reported success with files\\motd.txt unwritten"

# The uninstaller while morvane.exe runs, which it could not remove: it stops with an error and
# removes nothing, rather than all but the program. Run in place (_?=, from a batch file, which
# passes the folder unquoted), its exit status is seen: 2, as the installer's when it stops so.
# Run as "Apps & features" runs it, its copy ends so too (seen by its image leaving the process
# list). The program counts as running once Wine has mapped its image.
(
    export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    exec wine "$windows_installed\\morvane.exe"
) </dev/null >/dev/null 2>&1 &
program_pid=$!
for _ in $(seq 300); do
    grep -q "Program Files/Morvane/morvane.exe" "/proc/$program_pid/maps" 2>/dev/null && break
    sleep 0.1
done
grep -q "Program Files/Morvane/morvane.exe" "/proc/$program_pid/maps" 2>/dev/null ||
    fail "morvane.exe did not start"
installation=$(leftovers)
printf '@"%s\\Uninstall.exe" /S _?=%s\r\n@exit /b %%errorlevel%%\r\n' "$windows_installed" \
    "$windows_installed" >"$work/uninstall-in-place.bat"
status=0
wine_run cmd /c "Z:${work//\//\\}\\uninstall-in-place.bat" || status=$?
[ "$status" = 2 ] || fail "the uninstaller exited $status while morvane.exe ran, not 2"
[ "$(leftovers)" = "$installation" ] || fail "the uninstaller removed a part while morvane.exe ran"
[ -e "$installed/morvane.exe" ] && [ -e "$installed/Uninstall.exe" ] ||
    fail "the uninstaller removed files while morvane.exe ran"
wine_run "$windows_installed\\Uninstall.exe" /S || fail "the uninstaller exited $?"
copy="$prefix/drive_c/users/.*/Temp/~nsu"
for _ in $(seq 50); do
    grep -lq "$copy" /proc/[0-9]*/maps 2>/dev/null && break
    sleep 0.05
done
for _ in $(seq 300); do
    grep -lq "$copy" /proc/[0-9]*/maps 2>/dev/null || break
    sleep 0.2
done
[ "$(leftovers)" = "$installation" ] && [ -e "$installed/morvane.exe" ] ||
    fail "the uninstaller's copy removed a part while morvane.exe ran"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=

# The uninstaller, as "Apps & features" starts it: it copies itself away and returns at once, and
# the copy does the work.
wine_run "$windows_installed\\Uninstall.exe" /S || fail "the uninstaller exited $?"
for _ in $(seq 300); do
    [ -z "$(leftovers)" ] && break
    sleep 0.2
done
left=$(leftovers)
[ -z "$left" ] || fail "the uninstaller left: $left"
echo "check-installer: $(basename "$setup") installs, updates and uninstalls cleanly"
