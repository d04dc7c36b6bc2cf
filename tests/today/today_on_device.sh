#!/usr/bin/env bash
# The Today item on the device's Today screen: the program's first run puts it
# there without a restart of the shell; its options change what it lists; a
# note saved in the program is listed; a tapped note opens in the running
# program, or starts the program with its path; the empty item adds a note;
# a restart of the shell leaves the program exactly one timed run; with the
# program ended, the item's timed run starts it at a note's expiry and the
# alarm comes up; another program holding the timed runs' lock is told to
# the user.
#   today_on_device.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../support/scenario.sh" "$@"

program='C:\Program Files\Jotlings\Jotlings.exe'
program_pattern='Program Files.Jotlings.Jotlings\.exe'
probe_exe=$(winpath "$build/bin/JotlingsProbe.exe")
probe() { dev run "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
window_up() { dev run "$probe_exe" window "$1" >/dev/null 2>&1; }
window_gone() { ! window_up "$1"; }
front_is() { [ "$(probe front)" = "$1" ]; }
shot() { dev screenshot "$shots/today-$1.png" >/dev/null 2>&1; }

docs=$(ls -d "$devdir"/prefix/drive_c/users/*/Documents 2>/dev/null | grep -v /Public/ | head -n 1)
notes="$docs/My Jotlings"
note() { winpath "$notes/$1"; }
# The path the program itself has for a note, for an exact hand-over.
user=$(basename "$(dirname "$docs")")
program_note() { printf 'C:\\users\\%s\\Documents\\My Jotlings\\%s' "$user" "$1"; }

# The item on the Today screen: its top and height in screen pixels.
item_top() { probe item | cut -d' ' -f1; }
item_height() { probe item | cut -d' ' -f2; }
item_up() { probe item >/dev/null && [ -n "$(probe item)" ]; }
item_height_is() { [ "$(item_height)" = "$1" ]; }
note_is() { front_is JotlingWndClass && [ "$(probe title)" = "$1" ]; }

end_program() {
    dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
    wait_for 20 not_running "$program_pattern" || abort "Jotlings does not end"
}
today_screen() {
    dev tap 15 12                  # Start
    sleep 0.5
    dev tap 30 35                  # Today
    wait_for 10 front_is DesktopExplorerWindow || fail "the Today screen does not come forward"
}
# Today screen > Settings > ok: the shell tells every item to reload.
settings_round() {
    today_screen
    dev tap 30 307
    wait_for 10 front_is TodaySettingsWindow || { fail "no Today settings"; return; }
    dev tap 225 13
    wait_for 10 front_is DesktopExplorerWindow || fail "the Today settings stay"
}
# Taps line N of the item (counted from 0) with line height LH.
tap_line() { dev tap 120 $(( $(item_top) + $1 * $2 + $2 / 2 )); }

# The start times (the run store's bytes in hex) of the scheduler's runs of
# the program, its path in any case, with "AppRunAtTime"; a run's values come
# in the order the store writes them.
program_runs() {
    dev run reg query 'HKLM\SOFTWARE\Microsoft\Shell\TimedRuns' /s 2>/dev/null | tr -d '\r' |
        awk 'tolower($0) ~ /^ +application +reg_sz +c:\\program files\\jotlings\\jotlings\.exe$/ { app = 1; next }
             app && /^ +Arguments +REG_SZ +AppRunAtTime$/ { word = 1; next }
             app && word && $1 == "Start" { print $3 }
             { app = word = 0 }'
}
# Ends the shell, runs COMMAND... while it is down, starts it again.
restart_shell() {
    dev run 'C:\windows\shell.exe' -quit >/dev/null 2>&1
    wait_for 20 not_running 'shell\.exe' || abort "the shell does not end"
    "$@"
    dev start-program 'C:\windows\shell.exe'
    wait_for 20 item_up || abort "no item after the restart of the shell"
}

# --- A fresh device: no settings, no item ------------------------------------
end_program
window_up DesktopExplorerWindow || dev start-program 'C:\windows\shell.exe'
wait_for 20 window_up DesktopExplorerWindow || abort "no shell"
dev run reg delete 'HKLM\SOFTWARE\KORVA\Jotlings' /f >/dev/null 2>&1
dev run reg delete 'HKLM\SOFTWARE\Microsoft\Today\Items\KORVA Jotlings' /f >/dev/null 2>&1
wait_for 20 bash -c "! \"$device\" --dir \"$devdir\" run \"$(printf '%s' "$probe_exe")\" item >/dev/null 2>&1" \
    || abort "the item stays without its key"
mkdir -p "$notes"
rm -f "$notes"/*
probe write "$(note Jotling0.jot)" "Paid the rent" -1440 expired
probe write "$(note Jotling1.jot)" "Birthday" 1440
probe write "$(note Jotling2.jot)" "Some day" never

# --- Installed, never started ---------------------------------------------------
# The install puts the item on the Today screen; a tap on it starts the
# program, which lies beside the item's library, with a new note.
dev install "$build" >/dev/null 2>&1
wait_for 20 item_up && pass "the install puts the item on the Today screen" || abort "no item after the install"
shot installed
read -r top _ <<<"$(probe item)"
dev tap 120 $((top + 10))
wait_for 20 front_is JotlingWndClass && pass "a tap on the installed item opens a new note" \
    || fail "the installed item's tap opened no note: $(probe front)"
end_program

# --- First run ---------------------------------------------------------------
dev start-program "$program"
wait_for 20 item_up && pass "the first run keeps the item on the Today screen" || abort "no item after the first run"

# --- The Start menu opens over the Today screen, whose strip stays ---------------
strip_colour() { convert "$shots/today-$1.png" -format '%[pixel:p{120,310}]' info: 2>/dev/null; }
today_screen
dev tap 15 12                      # Start
wait_for 5 window_up '#32768' || fail "no Start menu"
shot start-menu
[ "$(strip_colour start-menu)" = "srgb(214,214,214)" ] && pass "the Settings strip stays under the Start menu" \
    || fail "under the Start menu the strip is $(strip_colour start-menu)"
dev key Escape
wait_for 5 window_gone '#32768' || fail "the Start menu stays"
wait_for 5 front_is DesktopExplorerWindow && pass "a menu closed without a pick gives the Today screen back" \
    || fail "after the Start menu, in front: $(probe front)"

# --- Options: all dates, up to 10 notes --------------------------------------
today_screen
before=$(item_height)
dev tap 30 307                     # Settings
wait_for 10 front_is TodaySettingsWindow || abort "no Today settings"
dev tap 80 65                      # the item's row
dev tap 45 274                     # Options...
wait_for 10 window_up '#32770' || abort "no options dialog"
sleep 0.5
shot options
dev tap 120 87                     # the count list
sleep 0.5
dev key Home Return                # "10 jotlings"
dev tap 14 133                     # "Show only today jotlings" off
sleep 0.3
dev tap 225 13                     # Done
wait_for 10 window_gone '#32770' || fail "the options stay"
dev tap 225 13
wait_for 10 front_is DesktopExplorerWindow || fail "the Today settings stay"
three_lines() { local h; h=$(item_height); [ -n "$h" ] && [ "$h" -gt "$before" ] && [ $((h % 3)) = 0 ]; }
wait_for 10 three_lines && pass "the options change what the item lists" \
    || fail "item height $(item_height) after the options (was $before)"
lh=$(( $(item_height) / 3 ))
# And the screen: the item draws three lines of writing, one a note (its
# icons kept out, left of the texts).
shot three
drawn=$(screen_lines today-three 25 "$(item_top)" 238 $(( $(item_top) + $(item_height) )))
[ "$drawn" = 3 ] && pass "the item draws as many lines as it lists" || fail "the item draws $drawn lines for 3 notes"

# --- A note saved in the program ---------------------------------------------
# "Some day" is given an expiry an hour from now and saved: the item's order
# changes to yesterday's expired note, "Some day", tomorrow's.
# (Opened through the program's own hand-over: brought forward over the Today
# screen, the all-notes window stays covered by the Today screen's bottom bar.)
probe handover "$(program_note Jotling2.jot)"
wait_for 10 note_is "Some day" || abort "the note does not open from the list: $(probe front)"
dev tap 208 39                     # the preset expiries
sleep 0.5
dev tap 160 112                    # "1 hour"
sleep 0.3
dev tap 225 13                     # ok: saved
wait_for 10 window_gone JotlingWndClass || fail "the note stays"

today_screen
sleep 1
shot notes
tap_line 1 "$lh"
wait_for 10 note_is "Some day" && pass "a saved note is listed anew; tapped, it opens in the running program" \
    || fail "front $(probe front), title '$(probe title)'"
dev tap 225 13
wait_for 10 window_gone JotlingWndClass || fail "the note stays"

# --- A hand-over while a new note is open ---------------------------------------
# The new note is kept by the tap on the Today item, and the list holds it.
files_before=$(ls "$notes" | grep -c '\.jot$')
start_menu_item 49                 # Start > Jotlings: the all-notes window
wait_for 20 front_is AllJotlingsWnd || fail "no all-notes window: $(probe front)"
dev tap 34 307                     # New
wait_for 10 front_is JotlingWndClass || fail "no new note: $(probe front)"
dev drag 40 120 180 170
today_screen
tap_line 1 "$lh"
wait_for 10 note_is "Some day" || fail "the tapped note does not open: $(probe front), '$(probe title)'"
files_now() { [ "$(ls "$notes" | grep -c '\.jot$')" = "$((files_before + 1))" ]; }
wait_for 10 files_now || fail "the new note was not written: $(ls "$notes" | tr '\n' ' ')"
[ "$(probe rows)" = "$((files_before + 1))" ] && pass "a new note kept by a Today tap is in the list" \
    || fail "the list holds $(probe rows) rows for $((files_before + 1)) notes"
dev tap 225 13
wait_for 10 window_gone JotlingWndClass || fail "the note stays"

# --- The program not running ---------------------------------------------------
end_program
today_screen
tap_line 2 "$lh"
wait_for 20 note_is "Birthday" && pass "a tapped note starts the program with its path" \
    || fail "front $(probe front), title '$(probe title)'"
dev tap 225 13
wait_for 10 window_gone JotlingWndClass || fail "the note stays"
end_program

rm -f "$notes"/*
settings_round
wait_for 10 item_height_is 20 && pass "with no note the item is empty" || fail "item height $(item_height)"
shot empty
tap_line 0 "$lh"
wait_for 20 front_is JotlingWndClass && pass "the empty item adds a note (no note file is left to open)" || fail "front $(probe front)"
dev tap 225 13
end_program

# --- A restart of the shell -----------------------------------------------------
# The unloaded item leaves its run with the scheduler; the item of the
# restarted shell takes its place instead of adding one.
probe write "$(note Jotling0.jot)" "After the restart" 1440
settings_round                     # the item schedules the note
restart_shell
# The note's time as the run keeps it: the system keeps whole seconds, and
# a run never starts before its note's time, so the item rounds up.
expiry=$(python3 - "$notes/Jotling0.jot" <<'EOF'
import datetime, struct, sys
y, mo, dow, d, h, mi, s, ms = struct.unpack('<8H', open(sys.argv[1], 'rb').read(16))
t = datetime.datetime(y, mo, d, h, mi, s) + datetime.timedelta(seconds=1 if ms else 0)
print(struct.pack('<7H', t.year, t.month, (t.weekday() + 1) % 7, t.day, t.hour, t.minute, t.second).hex())
EOF
)
[ "$(program_runs | cut -c1-28 | tr A-F a-f)" = "$expiry" ] \
    && pass "after a restart of the shell the program has one timed run, at the note's time" \
    || fail "after a restart of the shell the program's timed runs are: $(program_runs | tr '\n' ' ')"
restart_shell rm -f "$notes/Jotling0.jot"
[ -z "$(program_runs)" ] && pass "with nothing pending at the next load no timed run is left" \
    || fail "timed runs left with nothing pending: $(program_runs | tr '\n' ' ')"

# --- The timed run --------------------------------------------------------------
probe write "$(note Jotling0.jot)" "Alarm from the Today item" 12s
settings_round                     # the item reloads and schedules the run
wait_for 60 note_is "Alarm from the Today item" && pass "the timed run starts the program with the alarm" \
    || fail "no alarm: front $(probe front)"
running 'Jotlings\.exe.*AppRunAtTime' && pass "started as AppRunAtTime" || fail "not started by the timed run"
shot alarm
dev tap 225 13
end_program

# --- Another program keeps the list of timed runs to itself --------------------
# The item cannot set the next note's alarm: it says so once, and looks for
# the note itself while the Today screen has it.
probe write "$(note Jotling1.jot)" "Held up" 1440
dev run "$probe_exe" holdruns 12 >/dev/null 2>&1 &
holder=$!
sleep 1
settings_round
box_up() { [ "$(probe boxes | cut -d' ' -f1)" -ge 1 ]; }
wait_for 20 box_up && pass "the item tells that the alarm could not be set" || fail "no message: $(probe front)"
shot run-refused
dev key Return
wait "$holder"
rm -f "$notes"/*
settings_round
finish
