#!/usr/bin/env bash
# Jotlings started twice on the device: the first start stays, the second
# hands its word over and ends with exit code 0; the program ends cleanly.
source "$(dirname "$0")/../support/scenario.sh" "$@"

program='C:\Program Files\Jotlings\Jotlings.exe'
pattern='Program Files.Jotlings.Jotlings\.exe'

dev install "$build" || abort "install"
# An instance left by an earlier scenario is closed first.
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$pattern" || abort "an earlier instance does not end"

dev start-program "$program" showall
wait_for 20 running "$pattern" || abort "the first instance did not start"
sleep 1

start=$(date +%s)
dev run "$program" addnew
code=$?
[ "$code" = 0 ] && pass "the second start ended with 0" || fail "the second start ended with $code, not 0"
[ $(( $(date +%s) - start )) -lt 15 ] || fail "the second start did not end at once"
running "$pattern" && pass "the first instance runs on" || fail "the first instance ended"

# The program made its notes folder on the device, and the first run's settings.
docs=$(ls -d "$devdir"/prefix/drive_c/users/*/Documents 2>/dev/null | grep -v /Public/ | head -n 1)
[ -d "$docs/My Jotlings" ] && pass "notes folder made" || fail "no notes folder under $docs"

# Closing the main window ends the program.
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$pattern" && pass "closing ends the program" || fail "the program did not end"
finish
