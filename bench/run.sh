#!/usr/bin/env bash
# Builds the release program and prints how fast it reads a game folder's total, cleans it and scans it,
# next to du -sb on the same trees in the same run, and its peak memory. See bench/README.md.
#
# Usage: bench/run.sh [--sizes "10000 100000 1000000"] [--runs N] [--warmup N] [--work DIR]
#                     [--reference CLI]
#   --sizes   numbers of bulk files of the demo trees, smallest first (default 10k, 100k, 1M)
#   --runs    timed runs per command (default 7; at least 5)
#   --warmup  untimed rounds first (default 2)
#   --work    lay the trees out in DIR and keep them there; trees an earlier run left in DIR are
#             used again (laying out 1M files takes minutes). By default a new temporary folder
#             is used and removed at the end.
#   --reference another build's morvane-cli: its scan of each tree is timed beside this one's
# Environment: MORVANE_BENCH_BUILD (build folder, default build/bench),
#              MORVANE_BENCH_TMP (where the trees go, default /tmp).
set -euo pipefail

repo=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd)
build=${MORVANE_BENCH_BUILD:-$repo/build/bench}
sizes="10000 100000 1000000"
runs=7
warmup=2
work=""
reference=()
while (($#)); do
    case "$1" in
        --sizes) sizes=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        --warmup) warmup=$2; shift 2 ;;
        --work) work=$2; shift 2 ;;
        --reference) reference=(--reference-cli "$(realpath -- "$2")"); shift 2 ;;
        *) sed -n '5,15p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
    esac
done
((runs >= 5)) || { echo "bench: --runs must be at least 5" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "bench: /usr/bin/time is missing (Debian package 'time')" >&2; exit 2; }

echo "== building (release) in $build"
cmake --preset bench -B "$build" -DMORVANE_GUI=OFF >/dev/null
cmake --build "$build" --target morvane-cli morvane_files >/dev/null

if [[ -n $work ]]; then
    mkdir -p -- "$work"
    work=$(cd -- "$work" && pwd)
else
    work=$(mktemp -d "${MORVANE_BENCH_TMP:-/tmp}/morvane-bench.XXXXXX")
    # shellcheck disable=SC2064  # the folder is fixed now
    trap "chmod -R u+rwX '$work' 2>/dev/null; rm -rf -- '$work'" EXIT
fi

# The backups that every clean makes go beside the trees, not into the home folder.
export XDG_STATE_HOME="$work/state"

trees=()
for n in $sizes; do
    # About a hundred files a folder, and no more than a few thousand folders.
    folders=$((n / 100 > 4000 ? 4000 : n / 100))
    ((folders >= 1)) || folders=1
    label=$(awk -v n="$n" 'BEGIN { if (n >= 1000000 && n % 1000000 == 0) print n / 1000000 "M";
                                   else if (n >= 1000 && n % 1000 == 0) print n / 1000 "k";
                                   else print n }')
    # measure.py keeps the first contents of the advert files in $label.targets.
    if [[ -f $work/$label/.morvane-demo && -d $work/$label.targets ]]; then
        echo "== using the $label tree already in $work"
    else
        echo "== laying out the $label tree"
        rm -rf -- "$work/$label.targets"
        "$repo/tools/make-demo-install.sh" "$work/$label" --files "$n" --folders "$folders" --force
    fi
    trees+=("$label=$work/$label")
done

echo "== measuring ($(nproc) processors; kernel $(uname -r); load average $(cut -d' ' -f1-3 /proc/loadavg))"
python3 "$repo/bench/measure.py" --cli "$build/bin/morvane-cli" --runs "$runs" --warmup "$warmup" \
    "${reference[@]}" "${trees[@]}"
