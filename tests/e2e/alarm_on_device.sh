#!/usr/bin/env bash
# A note's alarm and the record button on the device: a due note comes up as
# an alarm when the program starts; killed while the alarm is up, the
# program loses nothing and shows it again at its next start; ok keeps it as
# expired. The timed start "AppRunAtTime" brings up the next note. Holding
# the hardware record button while the program runs records into a new note.
# An alarm plays the note's recording, heard on the device's sound server.
# A recording under way is kept when ok, or an alarm falling due, closes its
# note.
#   alarm_on_device.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../support/scenario.sh" "$@"
source "$(dirname "$0")/../support/jotlings.sh"

shot() { dev screenshot "$shots/alarm-$1.png" >/dev/null 2>&1; }
files() { (cd "$notes" 2>/dev/null && ls | grep -E '\.jot(\.alarm)?$' | sort | tr '\n' ' '); }
files_are() { [ "$(files)" = "$1" ]; }
note_is() { window_up JotlingWndClass && [ "$(probe title)" = "$1" ]; }

fresh_program
mkdir -p "$notes"
rm -f "$notes"/*
setting Notify 1
setting AutoDel 0
setting RecBtn 1
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1

# --- A due note at start, and a kill while its alarm is up ---------------------
probe write "$(note Jotling0.jot)" "Dentist" -1
dev start-program "$program"
wait_for 20 front_is JotlingWndClass && pass "a due note comes up as an alarm at start" || abort "no alarm"
shot up
files_are "Jotling0.jot.alarm " && pass "the alarm's note waits aside, out of the lists" || fail "files: $(files)"
kill_program
wait_for 20 not_running "$program_pattern" || abort "the program does not die"
files_are "Jotling0.jot.alarm " && pass "the note survives the kill" || fail "after the kill: $(files)"

dev start-program "$program"
wait_for 20 front_is JotlingWndClass && pass "the next start shows the alarm again" || fail "no alarm after the restart"

# A tap on the Today item starts the program with a command word or a note's
# path: the alarm that start brings back stays up, the request comes after.
probe write "$(note Jotling7.jot)" "Shopping" never
for asked in addnew "$(device_note Jotling7.jot)"; do
    kill_program
    wait_for 20 not_running "$program_pattern" || abort "the program does not die"
    dev start-program "$program" "$asked"
    wait_for 20 front_is JotlingWndClass || fail "no window for the start with $asked"
    sleep 2
    front_is JotlingWndClass && files_are "Jotling0.jot.alarm Jotling7.jot " \
        && pass "a start with ${asked##*\\} leaves its alarm on screen" \
        || fail "seconds after the start with $asked: $(probe front), $(files)"
done

dev tap 225 13
wait_for 10 note_is Shopping && pass "the note the start asked for opens when the alarm closes" \
    || fail "after ok: $(probe front) $(probe title)"
dev tap 225 13
wait_for 10 files_are "Jotling0.jot Jotling7.jot " && pass "each note stands in one file once the windows close" \
    || fail "after ok: $(files)"
rm -f "$notes/Jotling7.jot"
head=$(probe head "$(note Jotling0.jot)")
[ "$head" = "Dentist|1|0" ] && pass "ok keeps the alarm's note, as an expired note" || fail "head: $head"

# --- The timed start brings up the next note ---------------------------------------
# The system's timed start while the program is not running.
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
probe write "$(note Jotling1.jot)" "Call back" 0
dev start-program "$program" AppRunAtTime
wait_for 20 front_is JotlingWndClass && pass "AppRunAtTime shows the due note's alarm" || fail "no alarm for AppRunAtTime"
shot timed
dev tap 225 13
wait_for 10 files_are "Jotling0.jot Jotling1.jot " || fail "after the timed alarm: $(files)"
head=$(probe head "$(note Jotling1.jot)")
[ "$head" = "Call back|1|0" ] && pass "the timed alarm was the due note's" || fail "head: $head"

# --- A due note that cannot be read --------------------------------------------
# Its head says it is due, its data is cut short. Every timed start or poll
# asks for a check; the user is told once, and the program lives on.
# (The program reads the folder when it starts.)
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
probe write "$(note Jotling3.jot)" "Cut short" -2
printf '\x00\x10\x00\x00' | dd of="$notes/Jotling3.jot" bs=1 seek=531 conv=notrunc status=none
dev start-program "$program" AppRunAtTime
box_up() { [ "$(probe boxes | cut -d' ' -f1)" -ge 1 ]; }
wait_for 20 box_up || fail "no message for the damaged note: $(probe front)"
for i in $(seq 6); do dev run "$program" AppRunAtTime >/dev/null 2>&1; done
sleep 1
shot damaged
read -r count left top right bottom <<<"$(probe boxes)"
[ "$count" = 1 ] && pass "a damaged due note is told once, however many checks come" \
    || fail "$count message boxes on the screen"
[ "$left" -ge 0 ] && [ "$right" -le 240 ] && [ "$top" -ge 0 ] && [ "$bottom" -le 320 ] \
    && pass "the message fits the screen" || fail "the message lies at $left,$top-$right,$bottom"
dev key Return
box_gone() { [ "$(probe boxes | cut -d' ' -f1)" = 0 ]; }
wait_for 10 box_gone || fail "the message stays"
for i in $(seq 3); do dev run "$program" AppRunAtTime >/dev/null 2>&1; done
sleep 2
box_gone && running "$program_pattern" && pass "later checks leave the damaged note alone, and the program runs on" \
    || fail "after the message: $(probe boxes), $(probe front)"
[ "$(wc -c <"$notes/Jotling3.jot")" = 535 ] && pass "the damaged note is left as it was" || fail "its file changed"
rm -f "$notes/Jotling3.jot"
dev start-program "$program" showall

# --- The record button records into a new note while it is held ------------------
wait_for 10 front_is AllJotlingsWnd || fail "the list is not in front"
dev record press
wait_for 20 front_is JotlingWndClass && pass "the record button opens a new note" || fail "no note for the record button"
sleep 2
shot recording
dev record release
sleep 1
dev tap 225 13
wait_for 10 files_are "Jotling0.jot Jotling1.jot Jotling2.jot " && pass "the recorded note is kept" \
    || fail "after recording: $(files)"
dev run "$probe_exe" recorded "$(note Jotling2.jot)" >/dev/null 2>&1 && pass "the new note holds the recording" \
    || fail "no recording in the new note"

# --- The alarm plays the note's recording -------------------------------------
# The device's sound server has a null sink: what the device plays is heard
# on its monitor. A due note whose first recording is a 1500 Hz tone comes up
# with "PlayRec" on (the default), and the tone is what the device plays.
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
setting PlayRec 1
probe tone "$(note Jotling5.jot)" "Tone" -1 1500 6 0
heard=$build/alarm-heard.raw
(eval "$(dev env)" && exec parec -d null.monitor --format=s16le --rate=11025 --channels=1 --raw) >"$heard" 2>/dev/null &
listener=$!
dev start-program "$program"
wait_for 20 front_is JotlingWndClass || fail "no alarm for the note with a recording"
wait_for 10 python3 "$(dirname "$0")/../support/tone_heard.py" "$heard" 11025 1500 \
    && pass "the alarm plays the note's recording" \
    || fail "the note's recording is not what the device plays at its alarm ($(stat -c %s "$heard") bytes heard)"
kill "$listener" 2>/dev/null
dev tap 225 13
no_aside() { [ -z "$(cd "$notes" && ls | grep -E '\.alarm$')" ]; }
wait_for 10 no_aside || fail "the recording's alarm is not kept: $(files)"

# --- Snooze -------------------------------------------------------------------
# "Snooze" on the alarm's bar, "5 minutes": the note goes back pending, the
# Today item schedules the program's run at its new time, and that run
# brings the alarm up again.
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
rm -f "$notes"/*
probe write "$(note Jotling0.jot)" "Snoozed" -1
dev start-program "$program"
wait_for 20 front_is JotlingWndClass || fail "no alarm to snooze"
dev tap 90 307
sleep 1
shot snooze
dev key Down Return
wait_for 10 files_are "Jotling0.jot " || fail "after the snooze: $(files)"
head=$(probe head "$(note Jotling0.jot)")
[ "$head" = "Snoozed|0|0" ] && ! window_up JotlingWndClass && pass "a snoozed alarm closes and its note waits, pending" \
    || fail "after the snooze: head $head, front $(probe front)"
moved=$(python3 - "$notes/Jotling0.jot" <<'EOF'
import datetime, struct, sys
y, mo, dow, d, h, mi, s, ms = struct.unpack('<8H', open(sys.argv[1], 'rb').read(16))
print(round((datetime.datetime(y, mo, d, h, mi, s) - datetime.datetime.now()).total_seconds() / 60))
EOF
)
[ "$moved" = 5 ] && pass "its new time is 5 minutes from now" || fail "its new time is $moved minutes from now"
run_for_it() {
    dev run reg query 'HKLM\SOFTWARE\Microsoft\Shell\TimedRuns' /s 2>/dev/null | tr -d '\r' |
        grep -qi 'jotlings\\jotlings\.exe'
}
wait_for 10 run_for_it && pass "the Today item schedules the program for it" || fail "no timed run of the program"
# What the system starts at that time.
dev start-program "$program" AppRunAtTime
wait_for 20 window_up JotlingWndClass && [ "$(probe title)" = Snoozed ] && pass "the snoozed alarm comes again" \
    || fail "no alarm for the snoozed note: $(probe front)"
# The shell restarts while an alarm the program opened itself is up: the
# alarm keeps the front each time.
for i in 1 2 3; do
    dev run 'C:\windows\shell.exe' -quit >/dev/null 2>&1
    wait_for 20 not_running 'shell\.exe' || abort "the shell does not end"
    dev start-program 'C:\windows\shell.exe'
    wait_for 20 window_up DesktopExplorerWindow || abort "no shell after its restart"
    sleep 1
    front_is JotlingWndClass || break
done
front_is JotlingWndClass && pass "the alarm keeps the front over three restarts of the shell" \
    || fail "after restart $i of the shell the front is $(probe front)"
dev tap 225 13
wait_for 10 files_are "Jotling0.jot " || fail "after ok: $(files)"

# --- A recording under way is kept however its note closes -----------------------
# Record on the bar, Rec, and ok while it records; then a note recording when
# an alarm falls due. The device's input is silent: silence still has samples.
record_in_new_note() {
    dev start-program "$program" addnew
    wait_for 20 front_is JotlingWndClass || fail "no new note to record into"
    sleep 1
    dev tap 140 307      # Record: the recorder's bar
    sleep 0.5
    dev tap 25 284       # its Rec
    sleep 3
}
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
rm -f "$notes"/*
record_in_new_note
shot bar-recording
dev tap 225 13           # ok while it records
wait_for 10 files_are "Jotling0.jot " && pass "ok while it records keeps the note" || fail "after ok: $(files)"
probe_ok recorded "$(note Jotling0.jot)" && pass "and the note holds the recording" \
    || fail "the note kept by ok while recording has no recording"

dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
due=$(($(date +%s) + 12))
probe write "$(note Jotling1.jot)" "Due while recording" 12s
record_in_new_note
while [ "$(date +%s)" -le "$due" ]; do sleep 1; done
dev run "$program" AppRunAtTime >/dev/null 2>&1
wait_for 15 files_are "Jotling0.jot Jotling1.jot.alarm Jotling2.jot " \
    && pass "the alarm that falls due while recording keeps the recording note" || fail "at the alarm: $(files)"
probe_ok recorded "$(note Jotling2.jot)" && pass "and that note holds the recording" \
    || fail "the note closed by the alarm has no recording"
dev tap 225 13
wait_for 10 no_aside || fail "the alarm is not kept: $(files)"

setting RecBtn 0
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
finish
