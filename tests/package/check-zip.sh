#!/usr/bin/env bash
# Checks the Windows zip as a user would meet it: what it holds, that its programs need no DLL but
# the system's, and its morvane-cli.exe run from the unpacked folder under Wine on a demo game
# folder with a Cyrillic name, against the Linux driver on a copy of the same folder: the same
# exit status, status, verdict and files, and the same game folder afterwards.
#
#   tests/package/check-zip.sh Morvane-VERSION-win64.zip LINUX_MORVANE_CLI
set -euo pipefail

zip=$(realpath "$1")
linux_cli=$(realpath "$2")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-zip: $*" >&2
    exit 1
}

# What it holds: one folder named after the zip, the two programs, the readme, the seven files.
top=$(basename "$zip" .zip)
python3 - "$zip" "$top" <<'PY' || fail "unexpected contents"
import sys, zipfile
names = sorted(n.rstrip('/') for n in zipfile.ZipFile(sys.argv[1]).namelist())
top = sys.argv[2]
files = ["GameMenu.res", "LoadingDialog.res", "LoadingDialogNoBanner.res", "LoadingDialogVAC.res",
         "ScoreBoard.res", "autobuy.txt", "motd.txt"]
wanted = sorted([f"{top}/morvane.exe", f"{top}/morvane-cli.exe", f"{top}/readme.txt",
                 f"{top}/files"] + [f"{top}/files/{f}" for f in files])
if names != wanted:
    print("holds:", names, "\nwanted:", wanted, file=sys.stderr)
    sys.exit(1)
PY
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$work"
unpacked="$work/$top"

# The system's DLLs only, and the right subsystem for each program.
system_dlls=" advapi32.dll bcrypt.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll "
for program in morvane.exe morvane-cli.exe; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$unpacked/$program" | awk '/DLL Name/ {print tolower($3)}'); do
        [[ "$system_dlls" == *" $dll "* ]] || fail "$program needs $dll"
    done
done
subsystem() {
    x86_64-w64-mingw32-objdump -p "$unpacked/$1" | awk '/^Subsystem/ {print $3, $4}'
}
[ "$(subsystem morvane.exe)" = "(Windows GUI)" ] || fail "morvane.exe is not a GUI program"
[ "$(subsystem morvane-cli.exe)" = "(Windows CUI)" ] || fail "morvane-cli.exe is not a console program"

# The same cleaning by both drivers, each on its own copy of one demo folder.
games="$work/Игры"
"$root/tools/make-demo-install.sh" "$games/original" --files 300 >/dev/null
cp -a "$games/original" "$games/windows"
cp -a "$games/original" "$games/linux"
# Runs a command of both drivers, each on its copy, and checks that they end alike.
both() {
    local command=$1
    shift
    local linux_status=0 windows_status=0
    # The Linux backups in the scratch folder, not the user's; Windows keeps them in the prefix.
    XDG_STATE_HOME="$work/state" "$linux_cli" "$command" "$games/linux" "$@" \
        >"$work/linux.json" 2>"$work/linux.err" || linux_status=$?
    "$root/tools/wine-run.sh" "$root/build/windows/wine" "$unpacked/morvane-cli.exe" "$command" \
        "Z:${games//\//\\}\\windows" "$@" >"$work/windows.json" 2>"$work/windows.err" ||
        windows_status=$?
    [ "$linux_status" = "$windows_status" ] ||
        fail "$command: exit status $windows_status on Windows, $linux_status on Linux: $(cat "$work/windows.err")"
}
# Paths below the game folder come out with the system's separator.
"$root/tools/wine-run.sh" "$root/build/windows/wine" "$unpacked/morvane-cli.exe" scan \
    "Z:${games//\//\\}\\original" >"$work/scan.txt" 2>&1 || true
grep -q '^cstrike\\config\.cfg:[0-9]' "$work/scan.txt" || fail "scan does not print cstrike\\config.cfg"
if grep -q '^cstrike[a-z_]*/' "$work/scan.txt"; then
    fail "scan prints paths below the game folder with '/'"
fi

both clean all --json

python3 - "$work/linux.json" "$work/windows.json" <<'PY' || fail "the reports differ"
import json, sys
def report(file):
    data = json.load(open(file, encoding="utf-8"))
    # Paths below the game folder, in one separator.
    files = [(f["path"].replace("\\", "/").split("/linux/" if "linux" in file else "/windows/", 1)[1],
              f["action"], f["reason"]) for f in data["files"]]
    return data["status"], data["verdict"], files
linux, windows = report(sys.argv[1]), report(sys.argv[2])
if linux != windows:
    print("Linux:  ", linux, "\nWindows:", windows, file=sys.stderr)
    sys.exit(1)
print(f"check-zip: both drivers: verdict {linux[1]!r}, {len(linux[2])} files, "
      f"{sum(a == 'replaced' for _, a, _ in linux[2])} replaced")
PY
diff -r "$games/linux" "$games/windows" >/dev/null || fail "the game folders differ afterwards"
both undo
diff -r "$games/original" "$games/windows" >/dev/null || fail "undo on Windows left the folder changed"
diff -r "$games/original" "$games/linux" >/dev/null || fail "undo on Linux left the folder changed"
echo "check-zip: $zip is sound"
