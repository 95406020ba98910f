#!/usr/bin/env bash
# Lays out a demo Counter-Strike 1.6 game folder for tries, tests and benchmarks.
#
# Usage: tools/make-demo-install.sh DEST [--files N] [--folders M]
#                                        [--only-edition cstrike|cstrike_russian] [--no-ads] [--force]
#
#   DEST            the game folder to make; created if missing. An existing DEST must be empty,
#                   unless --force is given and DEST holds the marker .morvane-demo (a demo install
#                   this script made): it is then emptied first. Anything else is refused (exit 2).
#   --files N       N ordinary game files (default 2000), a few hundred bytes to a few KB each,
#                   under <edition>/maps, sound/..., models/..., sprites, gfx/env, downloads/... .
#   --folders M     spread over M leaf folders (default N/100, at least 1).
#   --only-edition  lay out only that edition folder (cstrike or cstrike_russian); by default both.
#                   The bulk goes below cstrike, or below cstrike_russian when it is the only one.
#   --no-ads        clean game files (copies of files/ where there is a replacement) instead of
#                   the server adverts; motd_temp.html is then not laid out.
#   --force         see DEST.
#
# Per edition folder the target files are laid out: resource/GameMenu.res,
# resource/LoadingDialog.res, resource/LoadingDialogNoBanner.res, resource/LoadingDialogVAC.res,
# resource/UI/ScoreBoard.res, config.cfg, userconfig.cfg, motd.txt, autobuy.txt, and (adverts only)
# motd_temp.html; autoexec.cfg in the first edition folder. With adverts, the config files also
# carry what servers plant among the player's ordinary settings: keys rebound to say or connect,
# aliases, a wait;...;connect redirect, a connect line in autoexec.cfg and valve/valve.rc, a
# created joystick.cfg, a renderer config (hw/opengl.cfg) that echoes a site, a config file, menu
# and welcome page in cstrike_downloads, a distributor's masters in the game's master list and in
# the emulator's own (config/rev_MasterServers.vdf), their favourites in
# platform/config/ServerBrowser.vdf before the player's own and the history, and rev.ini naming
# their master, a site for the player's name and a server; userconfig.cfg also holds the player's
# own favourite-server alias, which no key runs (a scan lists it as suspect, and a clean keeps it).
# Without adverts the lists name Valve's master and rev.ini the emulator's own. Adverts use
# documentation addresses only (192.0.2.x, 198.51.100.x, 203.0.113.x, example.net), and each
# advert file is larger than its clean counterpart. Same arguments give the same tree (same paths, same bytes). Ends with a one-line
# summary on stdout.
# The bulk is written by forked python3 writers, one per CPU (at most 4) from 20000 files on;
# the environment variable MORVANE_DEMO_WRITERS=K sets their number (the tree stays the same).
set -euo pipefail

usage() {
    sed -n '4,5p' "$0" | sed 's/^# \{0,1\}//' >&2
}
help() {
    sed -n '2,36p' "$0" | sed 's/^# \{0,1\}//'
}
die() {
    echo "make-demo-install: $*" >&2
    exit 2
}

script_dir=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
files_dir=$(cd -- "$script_dir/../files" && pwd) || die "cannot find the replacement files folder"

dest=""
n_files=2000
n_folders=""
only=""
no_ads=0
force=0
while (($#)); do
    case "$1" in
        --files)
            (($# >= 2)) || die "--files needs a number"
            n_files=$2
            shift 2
            ;;
        --files=*) n_files=${1#*=}; shift ;;
        --folders)
            (($# >= 2)) || die "--folders needs a number"
            n_folders=$2
            shift 2
            ;;
        --folders=*) n_folders=${1#*=}; shift ;;
        --only-edition)
            (($# >= 2)) || die "--only-edition needs cstrike or cstrike_russian"
            only=$2
            shift 2
            ;;
        --only-edition=*) only=${1#*=}; shift ;;
        --no-ads) no_ads=1; shift ;;
        --force) force=1; shift ;;
        -h | --help) help; exit 0 ;;
        --)
            shift
            if (($#)); then
                if [[ -n $dest ]] || (($# > 1)); then die "more than one DEST"; fi
                dest=$1
                shift
            fi
            ;;
        -*) usage; die "unknown option: $1" ;;
        *)
            [[ -z $dest ]] || die "more than one DEST"
            dest=$1
            shift
            ;;
    esac
done

[[ -n $dest ]] || { usage; die "no DEST given"; }
[[ ${MORVANE_DEMO_WRITERS:-1} =~ ^[0-9]+$ ]] || die "MORVANE_DEMO_WRITERS wants a number, not '$MORVANE_DEMO_WRITERS'"
[[ $n_files =~ ^[0-9]+$ ]] || die "--files wants a whole number, not '$n_files'"
n_files=$((10#$n_files))
if [[ -z $n_folders ]]; then
    n_folders=$((n_files / 100))
    ((n_folders >= 1)) || n_folders=1
fi
if ! [[ $n_folders =~ ^[0-9]+$ ]] || ((10#$n_folders < 1)); then
    die "--folders wants a number of at least 1, not '$n_folders'"
fi
n_folders=$((10#$n_folders))
case "$only" in
    "" | cstrike | cstrike_russian) ;;
    *) die "--only-edition wants cstrike or cstrike_russian, not '$only'" ;;
esac

for name in GameMenu.res LoadingDialog.res LoadingDialogNoBanner.res LoadingDialogVAC.res \
    ScoreBoard.res motd.txt autobuy.txt; do
    [[ -f $files_dir/$name ]] || die "missing replacement file $files_dir/$name"
done

if [[ -e $dest || -L $dest ]]; then
    [[ -d $dest && ! -L $dest ]] || die "$dest exists and is not a folder (or is a link)"
    if [[ -n $(find "$dest" -mindepth 1 -maxdepth 1 -print -quit) ]]; then
        ((force)) || die "$dest exists and is not empty (use --force to remake a demo install)"
        [[ -f $dest/.morvane-demo ]] || die "$dest is not empty and holds no .morvane-demo marker; refusing to empty it"
        # Write bits may have been taken away by a removal run: give them back if deleting fails.
        if ! find "$dest" -mindepth 1 -maxdepth 1 -exec rm -rf -- {} + 2>/dev/null; then
            chmod -R u+rwX -- "$dest"
            find "$dest" -mindepth 1 -maxdepth 1 -exec rm -rf -- {} +
        fi
    fi
else
    mkdir -p -- "$dest"
fi

exec python3 "$script_dir/make-demo-install.py" "$dest" "$files_dir" "$n_files" "$n_folders" "${only:-both}" "$no_ads"
