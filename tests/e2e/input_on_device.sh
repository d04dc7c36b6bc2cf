#!/usr/bin/env bash
# The stylus and the keyboard doing what the user meant, by tapping the
# device: Pen mode takes a typing note back to writing and the keyboard goes
# and stays down; after the list's popup menu, the pointer moving over the
# list changes no selection, so "Delete" takes every note "Select All" chose;
# typing flows below a recording's icon, not under it; Cut in writing mode
# leaves text selected while typing; a page-long paragraph takes typing.
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

end_program() {
    dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
    wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
}
# A note path on the command line opens at the program's start only.
open_note() {
    end_program
    dev start-program "$program" "$(device_note "$1")"
    wait_for 20 front_is JotlingWndClass || { shot "open-$1"; abort "$1 does not open: $(probe front)"; }
    sleep 1
}
window_gone() { ! window_up "$1"; }
text_has() { probe typed "$(note "$1")" | grep -qF -- "$2"; }
# What a screenshot shows in the writing area above the keyboard, and what
# changed there between two screenshots: "W H X Y", empty for nothing.
writing_area='224x130+0+72'
content_box() {
    convert "$shots/input-$1.png" -crop $writing_area +repage -fuzz 10% -trim -format '%w %h %X %Y' info: 2>/dev/null
}
change_box() {
    [ "$(compare -metric AE "$shots/input-$1.png" "$shots/input-$2.png" null: 2>&1)" != "0" ] || return 0
    convert "$shots/input-$1.png" "$shots/input-$2.png" -compose difference -composite \
        -crop $writing_area +repage -threshold 5% -trim -format '%w %h %X %Y' info: 2>/dev/null
}
overlap() {
    local w1 h1 x1 y1 w2 h2 x2 y2
    read -r w1 h1 x1 y1 <<<"$1"
    read -r w2 h2 x2 y2 <<<"$2"
    ((x1 < x2 + w2 && x2 < x1 + w1 && y1 < y2 + h2 && y2 < y1 + h1))
}

# --- A recording keeps a place of its own: typing flows below it ------------------
probe tone "$(note Memo.jot)" Memo never 1000 2 0
open_note Memo.jot
shot memo
dev tap 165 307          # Pen mode: typing
wait_for 5 keyboard_is 1 || fail "no keyboard for typing"
sleep 0.5
shot memo-keyboard
dev type "call the dentist"
wait_for 5 changed_from memo-keyboard memo-typed || fail "typing changed nothing"
icon=$(content_box memo)
typed=$(change_box memo-keyboard memo-typed)
if [ -z "$icon" ] || [ -z "$typed" ]; then
    fail "no recording icon ($icon) or no typed text ($typed) to compare"
elif overlap "$icon" "$typed"; then
    fail "the typed text ($typed) runs into the recording's icon ($icon)"
else
    pass "the typed text keeps clear of the recording's icon"
fi

# --- Cut in writing mode leaves a selection typed before -------------------------
dev key shift+Home       # the typed line selected, as typing mode leaves it
sleep 0.3
dev tap 165 307          # Pen mode: writing
wait_for 5 keyboard_is 0 || fail "the keyboard stays in writing mode"
dev tap 34 307           # Edit
sleep 0.5
dev key Down Return      # Cut
sleep 0.5
shot memo-cut
dev tap 225 13
wait_for 10 window_gone JotlingWndClass || fail "ok left the note open"
wait_for 10 text_has Memo.jot "call the dentist" && pass "Cut in writing mode leaves the typed text" \
    || fail "the typed text is cut: $(probe typed "$(note Memo.jot)")"
# The Today item reads the saved head at once and holds the file meanwhile.
wait_for 5 probe_ok recorded "$(note Memo.jot)" && pass "and the recording stays" || fail "the recording is gone"
# The same taps in typing mode do cut: the taps above reached Cut.
open_note Memo.jot
dev tap 165 307          # Pen mode: typing
wait_for 5 keyboard_is 1 || fail "no keyboard for typing"
dev key ctrl+End shift+Home
sleep 0.3
dev tap 34 307           # Edit
sleep 0.5
dev key Down Return      # Cut
sleep 0.5
dev tap 225 13
wait_for 10 window_gone JotlingWndClass || fail "ok left the note open"
wait_for 10 eval '! text_has Memo.jot "dentist"' && pass "the same taps in typing mode cut the text" \
    || fail "Cut in typing mode left: $(probe typed "$(note Memo.jot)")"

# --- A page-long paragraph takes typing and keeps every character ------------------
probe paragraph "$(note Long.jot)" Long 50000
open_note Long.jot
shot long
dev tap 165 307          # typing
wait_for 5 keyboard_is 1 || fail "no keyboard for typing"
dev key ctrl+End
dev type " at the end"
wait_for 20 changed_from long long-typed || fail "typing into the long paragraph shows nothing"
dev tap 225 13
wait_for 20 text_has Long.jot "brown fox  at the end" && pass "a 50,000-character paragraph takes typing at its end" \
    || fail "the long note's end: $(probe typed "$(note Long.jot)" | tail -c 40)"
length=$(probe typed "$(note Long.jot)" | tr -d '\n' | wc -c)
[ "$length" = 50011 ] && pass "and keeps every character" || fail "the long note holds $length characters"

end_program
finish
