#!/usr/bin/env bash
# Checks the Windows zip as a user would meet it: what it holds, that its programs need no DLL but
# the system's, and its morvane-cli.exe run from the unpacked folder under Wine on a demo game
# folder with a Cyrillic name, and once more on a copy at the root of a drive, each against the
# Linux driver on a copy of the same folder: the same exit status, status, verdict and files, the
# same game folder afterwards, and after undo the folder as it was made; and both programs in
# Russian with a Russian interface language (the driver's help, refusal, scan and clean, a failure's
# reason included), the driver's JSON the same as in English.
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

# The same cleaning by both drivers, each on its own copy of one demo folder: the Windows copy by
# its path below Z: (the Unix root), and once more as the root of a drive of its own, as the
# folder dialog gives such a folder ("M:\"), to which the engine joins its paths with a second
# separator. The drive is a link in the prefix's dosdevices folder, as Wine keeps its drives.
games="$work/Игры"
"$root/tools/make-demo-install.sh" "$games/original" --files 300 >/dev/null
prefix="$root/build/windows/wine"
drive_link=
trap '[ -z "$drive_link" ] || rm -f "$drive_link"; rm -rf "$work"' EXIT

# Runs a command of both drivers, each on its copy, and checks that they end alike.
both() {
    local command=$1 linux_game=$2 windows_game=$3
    shift 3
    local linux_status=0 windows_status=0
    # The Linux backups in the scratch folder, not the user's; Windows keeps them in the prefix.
    XDG_STATE_HOME="$work/state" "$linux_cli" "$command" "$linux_game" "$@" \
        >"$work/linux.json" 2>"$work/linux.err" || linux_status=$?
    "$root/tools/wine-run.sh" "$prefix" "$unpacked/morvane-cli.exe" "$command" "$windows_game" "$@" \
        >"$work/windows.json" 2>"$work/windows.err" || windows_status=$?
    [ "$linux_status" = "$windows_status" ] ||
        fail "$command: exit status $windows_status on Windows, $linux_status on Linux: $(cat "$work/windows.err")"
}
# Paths below the game folder come out with the system's separator.
"$root/tools/wine-run.sh" "$prefix" "$unpacked/morvane-cli.exe" scan \
    "Z:${games//\//\\}\\original" >"$work/scan.txt" 2>&1 || true
grep -q '^cstrike\\config\.cfg:[0-9]' "$work/scan.txt" || fail "scan does not print cstrike\\config.cfg"
if grep -q '^cstrike[a-z_]*/' "$work/scan.txt"; then
    fail "scan prints paths below the game folder with '/'"
fi

# Cleans the copies LINUX (a folder) and WINDOWS (as Windows names it, the Unix folder it is given
# as WINDOWS_FOLDER) with both drivers, compares what they did, then undoes both.
compare() {
    local linux=$1 windows=$2 windows_folder=$3
    both clean "$linux" "$windows" all --json
    python3 - "$work/linux.json" "$linux" "$work/windows.json" "$windows" <<'PY' ||
import json, sys
def report(file, game):
    data = json.load(open(file, encoding="utf-8"))
    # Paths below the game folder, in one separator.
    files = [(f["path"][len(game):].replace("\\", "/").lstrip("/"), f["action"], f["reason"])
             for f in data["files"] if f["path"].startswith(game)]
    if len(files) != len(data["files"]):
        sys.exit(f"paths outside {game}: {data['files']}")
    # Whether the clean kept a backup: its id differs between the two.
    return data["status"], data["verdict"], files, bool(data.get("backup"))
linux, windows = report(*sys.argv[1:3]), report(*sys.argv[3:5])
if linux != windows:
    print("Linux:  ", linux, "\nWindows:", windows, file=sys.stderr)
    sys.exit(1)
print(f"check-zip: both drivers on {sys.argv[4]}: verdict {linux[1]!r}, {len(linux[2])} files, "
      f"{sum(a == 'replaced' for _, a, _ in linux[2])} replaced")
PY
        fail "the reports differ on $windows"
    diff -r "$linux" "$windows_folder" >/dev/null || fail "the game folders differ afterwards ($windows)"
    both undo "$linux" "$windows"
    diff -r "$games/original" "$windows_folder" >/dev/null ||
        fail "undo on Windows left $windows changed"
    diff -r "$games/original" "$linux" >/dev/null || fail "undo on Linux left the folder changed"
}

cp -a "$games/original" "$games/windows"
cp -a "$games/original" "$games/linux"
compare "$games/linux" "Z:${games//\//\\}\\windows" "$games/windows"

# In the user's language: Windows takes it from the interface language, which Wine takes from the
# locale of the Unix side; the Russian locale is made here, as the machine may have none.
mkdir -p "$work/locale"
localedef -i ru_RU -f UTF-8 "$work/locale/ru_RU.UTF-8" >/dev/null 2>&1 || true
[ -e "$work/locale/ru_RU.UTF-8/LC_CTYPE" ] || fail "cannot make the ru_RU.UTF-8 locale (package locales)"
in_russian() (
    unset LC_ALL LC_MESSAGES LANGUAGE
    export LOCPATH="$work/locale" LANG=ru_RU.UTF-8
    "$@"
)
# C.UTF-8, not C: Wine names Unix files in the locale's character set, and the folder is Cyrillic.
in_english() (
    unset LC_ALL LC_MESSAGES LANGUAGE
    export LANG=C.UTF-8
    "$@"
)
windows_cli() {
    "$root/tools/wine-run.sh" "$prefix" "$unpacked/morvane-cli.exe" "$@"
}
# The help, the usage after a refusal, and the windowed program's usage, as the Linux driver says
# them, in Russian and in English.
for language in in_russian in_english; do
    [ "$($language windows_cli --help)" = "$($language "$linux_cli" --help)" ] ||
        fail "morvane-cli.exe --help ($language) is not the Linux driver's"
    [ "$($language windows_cli clean 2>&1)" = "$($language "$linux_cli" clean 2>&1)" ] ||
        fail "morvane-cli.exe's refusal ($language) is not the Linux driver's"
done
in_russian windows_cli --help | grep -q '^Использование:$' || fail "morvane-cli.exe --help is not in Russian"
in_russian "$root/tools/wine-run.sh" "$prefix" "$unpacked/morvane.exe" --help |
    grep -q '^Использование: morvane' || fail "morvane.exe --help is not in Russian"
# A scan's findings and a clean's report, a failure's reason among them, in Russian; in English
# under the C locale.
in_russian windows_cli scan "Z:${games//\//\\}\\original" >"$work/scan-ru.txt" 2>&1 || true
grep -q ': прописано: bind-say: клавиша назначена на то, чтобы написать в чат адрес' "$work/scan-ru.txt" &&
    grep -q '^итого в .*: [0-9]* прописанных элементов и [0-9]* подозрительных$' "$work/scan-ru.txt" ||
    fail "morvane-cli.exe scan does not report in Russian: $(head -5 "$work/scan-ru.txt")"
for language in ru en; do
    cp -a "$games/original" "$games/windows-$language"
    rm "$games/windows-$language/cstrike/resource/GameMenu.res"
    mkdir "$games/windows-$language/cstrike/resource/GameMenu.res"  # no copy can replace a folder
done
in_russian windows_cli clean "Z:${games//\//\\}\\windows-ru" all >"$work/clean-ru.txt" 2>&1 || true
in_english windows_cli clean "Z:${games//\//\\}\\windows-en" all >"$work/clean-en.txt" 2>&1 || true
for expected in '^menu: найдено$' 'GameMenu\.res: не удалось (атрибуты: это папка)$' \
    'LoadingDialog\.res: заменён$' 'config\.cfg: удалён$' '^Реклама возможно удалена$' \
    '^резервная копия: [0-9T]*Z'; do
    grep -q "$expected" "$work/clean-ru.txt" ||
        fail "morvane-cli.exe clean does not say '$expected' in Russian: $(cat "$work/clean-ru.txt")"
done
for expected in '^menu: found$' 'GameMenu\.res: failed (attributes: a folder)$' \
    '^Advertising possibly removed$'; do
    grep -q "$expected" "$work/clean-en.txt" ||
        fail "morvane-cli.exe clean does not say '$expected' in English: $(cat "$work/clean-en.txt")"
done
# What programs read does not change with the language.
for command in scan search; do
    in_russian windows_cli "$command" "Z:${games//\//\\}\\original" --json >"$work/ru.json" 2>/dev/null || true
    in_english windows_cli "$command" "Z:${games//\//\\}\\original" --json >"$work/en.json" 2>/dev/null || true
    [ -s "$work/en.json" ] && cmp -s "$work/ru.json" "$work/en.json" ||
        fail "$command --json differs between Russian and English"
done

letter=
for candidate in m n o p q r s t u v w x y; do
    [ -e "$prefix/dosdevices/$candidate:" ] || [ -L "$prefix/dosdevices/$candidate:" ] ||
        { letter=$candidate; break; }
done
[ -n "$letter" ] || fail "no free drive letter in $prefix/dosdevices"
cp -a "$games/original" "$games/windows-root"
cp -a "$games/original" "$games/linux-root"
drive_link="$prefix/dosdevices/$letter:"
ln -s "$games/windows-root" "$drive_link"
compare "$games/linux-root" "${letter^^}:\\" "$games/windows-root"
rm -f "$drive_link"
drive_link=
echo "check-zip: $zip is sound"
