#!/usr/bin/env bash
# The stylus and the keyboard doing what the user meant, by tapping the
# device: Pen mode takes a typing note back to writing and the keyboard goes
# and stays down; after the list's popup menu, the pointer moving over the
# list changes no selection, so "Delete" takes every note "Select All" chose.
#   input_on_device.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../support/scenario.sh" "$@"
source "$(dirname "$0")/../support/jotlings.sh"

rows_are() { [ "$(probe rows)" = "$1" ]; }
keyboard_is() { [ "$(probe keyboard)" = "$1" ]; }
shot() { dev screenshot "$shots/input-$1.png" >/dev/null 2>&1; }
differs() { [ "$(compare -metric AE "$shots/input-$1.png" "$shots/input-$2.png" null: 2>&1)" != "0" ]; }
changed_from() { shot "$2" && differs "$1" "$2"; }
note_files() { ls "$notes" 2>/dev/null | grep -c '\.jot$'; }
files_count_is() { [ "$(note_files)" = "$1" ]; }

fresh_program
mkdir -p "$notes"
rm -f "$notes"/*
setting Mode 0

# --- Pen mode and the keyboard --------------------------------------------------
dev start-program "$program" addnew
wait_for 20 front_is JotlingWndClass || abort "no new note"
dev drag 40 120 180 170
shot first-stroke
dev tap 165 307          # Pen mode: typing
wait_for 5 keyboard_is 1 && pass "typing brings the keyboard" || fail "no keyboard for typing"
dev tap 165 307          # Pen mode again: writing
wait_for 5 keyboard_is 0 && pass "Pen mode sends the keyboard away" || fail "the keyboard stays"
sleep 1
keyboard_is 0 && pass "and it stays away" || fail "the keyboard came back by itself"
shot pen-again
dev drag 40 170 180 120
wait_for 5 changed_from pen-again second-stroke && pass "the second stroke draws" || fail "the stroke drew nothing"
dev tap 225 13
wait_for 10 files_count_is 1 && pass "ok keeps the note" || fail "files: $(note_files)"

# --- The list after its popup menu -------------------------------------------------
for n in 1 2 3 4; do
    probe write "$(note Jotling$n.jot)" "Note $n" never
done
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
dev start-program "$program" showall
wait_for 20 rows_are 5 || abort "rows: $(probe rows)"
dev hold 60 53 1200      # on the first row: the popup menu
sleep 0.5
shot popup
dev tap 90 75            # "Select All"
sleep 0.5
dev move 60 70           # over the second row, and on to the fourth
dev move 60 105
sleep 0.5
shot after-popup
dev hold 60 53 1200
sleep 0.5
dev tap 90 110           # "Delete"
wait_for 10 front_is '#32770' || fail "no question: $(probe front)"
shot delete-question
dev key Return           # "Yes"
wait_for 10 files_count_is 0 && pass "Delete takes every note Select All chose" \
    || fail "notes left: $(note_files)"

dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
finish
