#!/usr/bin/env bash
# Jotlings as a person uses it, by tapping the device's screen: the Start
# menu opens the all-notes window; "New" opens a note that is drawn on,
# typed into, given a ready-made title, given an expiry from the picker and
# from the menu, zoomed and gridded; Start > Help shows its topic; ok keeps
# it. The list
# shows it, a tap previews it, a hold opens the popup menu; Tools opens the
# options and the About box. Every window is closed by tapping.
#   notes_by_tapping.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../support/scenario.sh" "$@"

program_pattern='Program Files.Jotlings.Jotlings\.exe'
probe_exe=$(winpath "$build/bin/JotlingsProbe.exe")
probe() { dev run "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
window_up() { dev run "$probe_exe" window "$1" >/dev/null 2>&1; }
window_gone() { ! window_up "$1"; }
front_is() { [ "$(probe front)" = "$1" ]; }
rows_are() { [ "$(probe rows)" = "$1" ]; }

shot() { dev screenshot "$shots/notes-$1.png" >/dev/null 2>&1; }
differs() { [ "$(compare -metric AE "$shots/notes-$1.png" "$shots/notes-$2.png" null: 2>&1)" != "0" ]; }
changed_from() { shot "$2" && differs "$1" "$2"; }

docs=$(ls -d "$devdir"/prefix/drive_c/users/*/Documents 2>/dev/null | grep -v /Public/ | head -n 1)
notes="$docs/My Jotlings"
note_files() { ls "$notes" 2>/dev/null | grep -c '\.jot$'; }
# Two notes written before the start; the one made here is the third.
three_note_files() { [ "$(note_files)" = 3 ]; }
# The screen's rows and their highlights, as screen_rows prints them.
screen_is() { [ "$(screen_rows "notes-$1")" = "$2" ]; }

# Start from a device without Jotlings running and without notes.
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
dev run taskkill /IM PegHelp.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || abort "an earlier Jotlings does not end"
rm -f "$notes"/*
mkdir -p "$notes"
probe write "$(winpath "$notes/Jotling1.jot")" "Milk" 600
probe write "$(winpath "$notes/Jotling2.jot")" "Keys" 900
# Two ready-made titles, the one used last first.
titles='HKLM\SOFTWARE\KORVA\Jotlings'
dev run reg add "$titles" /v Title0 /d Groceries /f >/dev/null 2>&1
dev run reg add "$titles" /v Title1 /d Dentist /f >/dev/null 2>&1
dev run reg add "$titles" /v TitlesCount /t REG_DWORD /d 2 /f >/dev/null 2>&1
window_up DesktopExplorerWindow || dev start-program 'C:\windows\shell.exe'
wait_for 20 window_up DesktopExplorerWindow || abort "no shell"

# --- The all-notes window from the Start menu ------------------------------
start_menu_item 49
wait_for 20 window_up AllJotlingsWnd && pass "Start > Jotlings opens the all-notes window" \
    || abort "no all-notes window"
shot list-empty

# --- A new note --------------------------------------------------------------
dev tap 34 307
wait_for 10 front_is JotlingWndClass && pass "New opens a note" || abort "no note window"
shot note-new
dev drag 40 120 180 170
dev drag 40 170 180 120
wait_for 5 changed_from note-new note-drawn && pass "the stylus writes" || fail "no ink"

dev tap 165 307          # pen mode off: typing
dev tap 120 120          # the caret goes where the stylus taps
dev type "call the dentist"
wait_for 5 changed_from note-drawn note-typed && pass "typing shows" || fail "typing changed nothing"

dev tap 190 39           # the title box's arrow: the ready-made titles
sleep 0.5
dev tap 40 63            # "Dentist", the second
shot note-titled
dev tap 228 39           # the clock button: the picker, with no date chosen
wait_for 10 window_up DateTimePicker || fail "no picker"
dev tap 215 240          # "None"
wait_for 10 window_gone DateTimePicker && pass "None closes the picker" || fail "None left the picker open"
wait_for 5 changed_from note-titled note-none && pass "None changes the expiry line" || fail "no change for None"
dev tap 208 39           # the pop-up button: preset expiries
sleep 0.5
shot note-presets
dev tap 160 112          # "1 hour"
wait_for 5 changed_from note-none note-hour && pass "a preset sets the expiry" || fail "no preset"

dev tap 228 39           # the clock button: the picker
wait_for 10 window_up DateTimePicker && pass "the clock button opens the picker" || fail "no picker"
shot note-picker
dev tap 40 200           # outside the picker: it closes with what it shows
wait_for 10 window_gone DateTimePicker && pass "a tap outside closes the picker" || fail "the picker stays"
window_up JotlingWndClass && pass "the tap outside did not reach the note" || fail "the note went away"

dev tap 87 307           # zoom in
wait_for 5 changed_from note-hour note-zoomed && pass "zoom in redraws" || fail "zoom changed nothing"
dev tap 190 307          # grid
wait_for 5 changed_from note-zoomed note-grid && pass "the grid shows" || fail "no grid"

# Start > Help asks the note window for its topic.
start_menu_item 105
wait_for 15 window_up PegHelpWindow && pass "Start > Help opens the note window's topic" || fail "no help"
shot note-help
dev tap 225 13
wait_for 10 window_gone PegHelpWindow && pass "ok closes the help" || fail "help stays"

# ok keeps the note.
wait_for 10 front_is JotlingWndClass || fail "the note is not in front after its help"
dev tap 225 13
wait_for 10 three_note_files && pass "ok keeps the note in a file" || abort "no note file"
file=Jotling0.jot
head=$(probe head "$(winpath "$notes/$file")")
[ "${head%%|*}" = "Dentist" ] && pass "its title is kept" || fail "title: $head"
[ "${head##*|}" = 0 ] && pass "its expiry is kept" || fail "expiry lost: $head"

# --- The list ---------------------------------------------------------------
wait_for 10 rows_are 3 && pass "the list shows the note" || fail "rows: $(probe rows)"
shot list-one
dev tap 60 53            # the first row: the new note, due first
wait_for 5 changed_from list-one list-preview && pass "a tap previews the note" || fail "no preview"
# Ctrl+tap adds the third row; the screen highlights those two, and only them.
dev keydown Control_L
dev tap 60 88
dev keyup Control_L
two_marked='0 text marked/1 text plain/2 text marked/below empty/'
wait_for 5 screen_is list-ctrl "$two_marked" && pass "the rows selected are highlighted, only those" \
    || fail "the screen shows $(screen_rows notes-list-ctrl); listed $(probe listed | tr '\n' '/')"
dev hold 60 53 1200
sleep 0.5
shot list-popup
differs list-ctrl list-popup && pass "a hold opens the popup menu" || fail "no popup"
dev key Escape
wait_for 5 screen_is list-after-popup "$two_marked" && pass "the hold keeps both selected on the screen" \
    || fail "after the popup the screen shows $(screen_rows notes-list-after-popup)"

# --- Tools: options and About ---------------------------------------------------
dev tap 87 307
sleep 0.5
shot list-tools
dev tap 110 275          # "Options..."
wait_for 10 window_up 'Jotlings options' && pass "Tools > Options opens the options" || fail "no options"
sleep 1
shot options
dev tap 95 285           # the "Jotling" page
wait_for 5 changed_from options options-jotling && pass "the Jotling page shows" || fail "no Jotling page"
dev tap 140 285          # the "Sound" page
wait_for 5 changed_from options-jotling options-sound && pass "the Sound page shows" || fail "no Sound page"
dev tap 225 13
wait_for 10 window_gone 'Jotlings options' && pass "ok closes the options" || fail "options stay"

dev tap 87 307
sleep 0.5
dev tap 110 290          # "About..."
# The About box has no title; the options sheet is a #32770 too, and must
# not pass for it.
about_front() { front_is '#32770' && ! window_up 'Jotlings options'; }
wait_for 10 about_front && pass "Tools > About shows the About box" || fail "no About box"
shot about
dev tap 225 13
wait_for 10 front_is AllJotlingsWnd && pass "ok closes the About box" || fail "About box stays"

dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
finish
