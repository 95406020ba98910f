#!/usr/bin/env bash
# The driver's bash completion, as bash calls it: each line typed so far against the words offered.
#   tests/package/completion-test.sh COMPLETION_SCRIPT
set -euo pipefail
export LC_ALL=C  # one sort order wherever it runs
source "$1"
cd "$(mktemp -d)"
trap 'rm -rf "$PWD"' EXIT
mkdir games gone
touch hl.exe

# Offers for LINE (a trailing space starts a new word), sorted, on one line.
offers() {
    local line=$1
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _morvane_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' '
}

failed=0
while IFS='|' read -r line expected; do
    actual=$(offers "$line")
    if [ "$actual" != "$expected" ]; then
        echo "'$line': offered '$actual', expected '$expected'" >&2
        failed=1
    fi
done <<'CASES'
morvane-cli |--help --version -h clean find protect scan search size undo
morvane-cli cl|clean
morvane-cli clean |games gone
morvane-cli clean g|games gone
morvane-cli clean games |all autobuy config loading menu motd scoreboard
morvane-cli clean games menu mo|motd
morvane-cli clean games --f|--files --force
morvane-cli undo games --|--force --help --list --run
morvane-cli undo games --run |
morvane-cli clean games --files |games gone
morvane-cli clean --files games |games gone
morvane-cli clean --read-only games |all autobuy config loading menu motd scoreboard
morvane-cli search games --|--help --json
morvane-cli size games |
morvane-cli size --|--help
morvane-cli find |
morvane-cli scan |games gone
morvane-cli scan games --|--all-found --help --json
morvane-cli wipe |
CASES
exit $failed
