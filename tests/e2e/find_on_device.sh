#!/usr/bin/env bash
# Find in the all-notes window, by tapping and typing on the device: Tools >
# Find opens the box above the list, typed words narrow the list to the
# notes whose title or typed text holds them all (case and accents
# ignored), the found note's words are marked in its preview, the popup's
# "Edit ..." opens the found note, and the box's close button, Ctrl+F and
# Esc work as a user expects.
#   find_on_device.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../support/scenario.sh" "$@"
source "$(dirname "$0")/../support/jotlings.sh"

rows_are() { [ "$(probe rows)" = "$1" ]; }
find_is() { [ "$(probe find)" = "$1" ]; }
listed_is() { [ "$(probe listed | tr '\n' '/')" = "$1" ]; }
shot() { dev screenshot "$shots/find-$1.png" >/dev/null 2>&1; }
# The screen shows the rows the list holds, each with writing, and nothing
# under them; with "marks", the rows' highlights as given ("0 marked/1
# plain/..."), without, any.
screen_shows_rows() {
    local n i expected="" seen
    n=$(probe rows)
    for ((i = 0; i < n; i++)); do expected+="$i text/"; done
    seen=$(screen_rows "find-$1")
    [ -n "${2:-}" ] && { [ "$seen" = "$2below empty/" ]; return; }
    [ "$(printf '%s' "$seen" | sed 's/ plain//g; s/ marked//g')" = "${expected}below empty/" ]
}

fresh_program
mkdir -p "$notes"
rm -f "$notes"/*
probe text "$(note Jotling0.jot)" "Dentist" 600 2 'Call Dr. Müller\nTuesday at ten'
probe text "$(note Jotling1.jot)" "Groceries" 700 0 'milk, bread, café au lait'
probe text "$(note Jotling2.jot)" "Zahnärzte" 800 0 'Termin am Dienstag'
probe text "$(note Jotling3.jot)" "Garage" 900 1 'tyres on Tuesday'
probe text "$(note Jotling4.jot)" "Ideas" never 0 'a DENTIST app?'
probe write "$(note Jotling5.jot)" "Straße 5" never

dev start-program "$program" showall
wait_for 20 front_is AllJotlingsWnd || abort "no all-notes window"
wait_for 20 rows_are 6 || abort "rows: $(probe rows)"

# --- Tools > Find, and typing ---------------------------------------------------
dev tap 88 307           # Tools
wait_for 5 window_up '#32768' || fail "no Tools menu"
shot tools-menu
dev tap 110 245          # "Find", above "Titles editor..."
wait_for 5 find_is '1||6 notes' && pass "Tools > Find opens the box" || abort "find box: $(probe find)"
shot box
# Key by key: after each the screen shows the rows found and nothing under them.
for key in D E N T; do
    dev type "$key"
    wait_for 5 screen_shows_rows "key-$key" || fail "after $key the screen shows $(screen_rows "find-key-$key") for $(probe rows) rows"
done
pass "after each key the screen shows only the rows found"
wait_for 5 rows_are 2 && pass "typing narrows the list" || fail "rows: $(probe rows)"
listed_is '  Dentist/  Ideas/' && pass "to the notes with the word, in title or text, any case" \
    || fail "listed: $(probe listed | tr '\n' '/')"
find_is '1|DENT|2 of 6' && pass "the count says how many" || fail "find box: $(probe find)"
dev type " tuesday"
wait_for 5 rows_are 1 && pass "every word must be there" || fail "rows: $(probe rows)"
shot typed

# --- The found note: its preview, and opened ----------------------------------------
dev tap 60 75            # its row, below the box and the headings
wait_for 5 listed_is '*>Dentist/' && pass "tapping the found row selects it" || fail "listed: $(probe listed | tr '\n' '/')"
sleep 1
shot preview
dev hold 60 75 1200      # the popup menu
sleep 0.5
shot popup
dev tap 80 88            # "Edit ..."
wait_for 20 front_is JotlingWndClass && pass "Edit ... opens the found note" || abort "no note window: $(probe front)"
[ "$(probe title)" = "Dentist" ] && pass "it is the note found" || fail "opened: $(probe title)"
shot note
dev tap 225 13           # ok
wait_for 20 front_is AllJotlingsWnd || fail "the list is not back"
wait_for 5 find_is '1|DENT tuesday|1 of 6' && pass "the find is still there after the note closed" \
    || fail "find box: $(probe find)"

# --- Closing, Ctrl+F, accents, Esc -------------------------------------------------
dev tap 60 75            # the found note again (its save refilled the list)
wait_for 5 listed_is '*>Dentist/' || fail "listed: $(probe listed | tr '\n' '/')"
dev tap 222 40           # the box's close button
wait_for 5 rows_are 6 && pass "closing the box shows every note again" || fail "rows: $(probe rows)"
find_is '0||' && pass "the box is gone and empty" || fail "find box: $(probe find)"
probe listed | grep -q '^\*>Dentist$' && pass "the found note stays selected" || fail "listed: $(probe listed | tr '\n' '/')"
all_back='0 text marked/1 text plain/2 text plain/3 text plain/4 text plain/5 text plain/'
wait_for 5 screen_shows_rows closed "$all_back" && pass "every row is back on the screen, the found one highlighted" \
    || fail "the screen shows $(screen_rows find-closed)"
shot closed
dev key ctrl+f
wait_for 5 find_is '1||6 notes' && pass "Ctrl+F opens the box" || fail "find box: $(probe find)"
dev type "strasse"
wait_for 5 listed_is '  Straße 5/' && pass "strasse finds Straße" || fail "listed: $(probe listed | tr '\n' '/')"
wait_for 5 screen_shows_rows strasse && pass "and the screen shows it alone" || fail "the screen shows $(screen_rows find-strasse)"
dev key Escape
wait_for 5 rows_are 6 && pass "Esc closes the box" || fail "rows: $(probe rows)"
wait_for 5 screen_shows_rows escaped && pass "after Esc every row is on the screen" \
    || fail "after Esc the screen shows $(screen_rows find-escaped)"

dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
finish
