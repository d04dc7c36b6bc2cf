#!/usr/bin/env bash
# Jotlings started twice on the device: the first start stays, the second
# hands its word over and ends with exit code 0; the program ends cleanly.
source "$(dirname "$0")/lib.sh"

program='C:\Program Files\Jotlings\Jotlings.exe'
pattern='Program Files.Jotlings.Jotlings\.exe'

device install "$build" || fail "install"
# An instance left by an earlier scenario is closed first.
device run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$pattern" || fail "an earlier instance does not end"

device start-program "$program" showall
wait_for 20 running "$pattern" || fail "the first instance did not start"
sleep 1

start=$(date +%s)
device run "$program" addnew
code=$?
[ "$code" = 0 ] || fail "the second start ended with $code, not 0"
[ $(( $(date +%s) - start )) -lt 15 ] || fail "the second start did not end at once"
running "$pattern" || fail "the first instance ended"

# The program made its notes folder and the first run's settings.
eval "$(device env)"
docs=$(ls -d "$WINEPREFIX"/drive_c/users/*/Documents 2>/dev/null | grep -v /Public/ | head -n 1)
[ -d "$docs/My Jotlings" ] || fail "no notes folder under $docs"

# Closing the main window ends the program.
device run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$pattern" || fail "the program did not end"
echo "single instance: ok"
