#!/usr/bin/env bash
# Starts an X server for tests (Xvfb) on a display number it picks itself, and prints that number
# and the server's process id ("71 12345") once the server takes clients; the caller ends it.
# Arguments after these are Xvfb's own (-auth FILE).
#
# -noreset: by default the server resets when its last client leaves and drops any client that
# connects meanwhile, so a program started right after another one ended would have to win that
# race. -displayfd: the server takes a free number as it starts, so two test runs at once never
# pick the same one, and says when it is ready.
set -euo pipefail

ready=$(mktemp)
trap 'rm -f "$ready"' EXIT
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 "$@" 3>"$ready" \
    </dev/null >/dev/null 2>&1 &
pid=$!
for _ in $(seq 300); do
    number=$(cat "$ready")
    if [[ "$number" =~ ^[0-9]+$ ]]; then
        echo "$number $pid"
        exit 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill "$pid" 2>/dev/null || true
echo "test-display.sh: Xvfb did not start" >&2
exit 1
