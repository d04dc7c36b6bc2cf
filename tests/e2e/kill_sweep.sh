#!/usr/bin/env bash
# Kills at random moments of a save: rounds of a new note kept with ok, an
# edit of a large note (a long recording and many strokes, about 2 MB)
# handed over as the Today item does, and an alarm kept with ok, each ended
# by kill -9 of the program 0-700 ms after the tap on ok (aimed, once seen,
# at the moment its save begins). After every kill
# the next start must show each note whole, exactly once and listed, and an
# alarm left aside comes back.
#   kill_sweep.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
# SWEEP_ROUNDS (21) and SWEEP_SEED repeat a sweep.
source "$(dirname "$0")/../support/scenario.sh" "$@"
source "$(dirname "$0")/../support/jotlings.sh"

rounds=${SWEEP_ROUNDS:-21}
seed=${SWEEP_SEED:-$((RANDOM))}
RANDOM=$seed
echo "seed $seed, $rounds rounds"

folder=$(winpath "$notes")
display=$(dev env | sed -n 's/^export DISPLAY=//p')
stylus() { DISPLAY=$display xdotool "$@"; }
screen=$(stylus search --name '^Default - Wine desktop$' | head -n 1)
# Names, sizes and times of everything in the notes folder: a change after
# the tap on ok means the save had begun when the kill landed.
folder_state() { (cd "$notes" && stat -c '%n %s %.9Y' -- * 2>/dev/null); }

fresh_program
mkdir -p "$notes"
rm -f "$notes"/*.jot*
setting Notify 1
setting AutoDel 0
probe_ok tone "$(note Big.jot)" "Big" never 440 70 4000 || abort "the large note was not written"
echo "the large note: $(stat -c %s "$notes/Big.jot") bytes"

# Titles every later start must show once: whatever a start has shown.
declare -A kept
declare -A reported
survey=""

# The notes as the program's start shows them: every file whole, each title
# once, every note listed and nothing once shown lost.
check_notes() {
    local label=$1 survey rows name title expired whole try
    # A probe that printed nothing did not run (a start under Wine can fail
    # on a loaded machine); it is asked again.
    for try in 1 2 3; do
        survey=$(probe survey "$folder")
        grep -q '^rows ' <<<"$survey" && break
    done
    rows=$(sed -n 's/^rows //p' <<<"$survey")
    [ "$rows" = "$(grep -c '\.jot|' <<<"$survey")" ] || fail "$label: $rows rows listed for" \
        "$(grep -c '\.jot|' <<<"$survey") notes"
    while IFS='|' read -r name title expired whole; do
        [ "$whole" = 1 ] || fail "$label: $name ($title) is not whole"
    done < <(grep '|' <<<"$survey")
    while read -r title; do
        [ -n "$title" ] && [ -z "${reported[$title]:-}" ] || continue
        reported[$title]=1
        fail "$label: \"$title\" stands more than once:" $(grep "|$title|" <<<"$survey" | cut -d'|' -f1,3)
    done < <(grep '|' <<<"$survey" | cut -d'|' -f2 | sort | uniq -d)
    for title in "${!kept[@]}"; do
        grep -q "^[^|]*|$title|" <<<"$survey" || fail "$label: \"$title\" is lost"
    done
    while IFS='|' read -r name title expired whole; do
        kept[$title]=1
    done < <(grep '|' <<<"$survey")
    ! ls "$notes" | grep -q '\.saving$' || fail "$label: a save cut short stays:" $(ls "$notes" | grep '\.saving$')
}

# An alarm whose ok the kill cut short is either kept, as an expired note,
# or set aside again and shown.
alarm_settled() {
    local survey
    survey=$(probe survey "$folder")
    if grep -q "|$1|0|" <<<"$survey"; then
        probe_ok await front JotlingWndClass 10000
    else
        grep -q "\.jot|$1|1|" <<<"$survey"
    fi
}

# The kill's moment, in ms after the tap on ok: anywhere in 0-700, and,
# once a kill of the kind has landed after its save began, mostly around
# the earliest such moment, where a save is cut in the middle (an alarm's
# whole save takes a few milliseconds).
declare -A before_max after_min
kill_delay() {
    local lo=${before_max[$1]:-0} hi=${after_min[$1]:-} from to
    if [ -z "$hi" ] || [ $((RANDOM % 4)) = 0 ]; then
        echo $((RANDOM % 701))
        return
    fi
    from=$(( (lo < hi ? lo : hi) - 30 ))
    to=$(( (lo > hi ? lo : hi) + 30 ))
    from=$((from < 0 ? 0 : from))
    to=$((to > 700 ? 700 : to))
    echo $((from + RANDOM % (to - from + 1)))
}

nothing_aside() { ! ls "$notes" | grep -q '\.alarm$'; }

pending=""      # the alarm the last kill cut short
begun=0
comebacks=0
declare -A done_kinds
kinds=(new edit alarm)
for ((k = 1; k <= rounds; k++)); do
    kind=${kinds[k % 3]}
    label="round $k"
    if [ -z "$pending" ] && [ "$kind" = alarm ]; then
        pending="Alarm $k"
        probe write "$(note Due$k.jot)" "$pending" -1
    fi
    dev start-program "$program"
    probe_ok await window AllJotlingsWnd 20000 || abort "$label: no list at start"
    alarm_up=0
    if [ -n "$pending" ]; then
        alarm_settled "$pending" || fail "$label: \"$pending\" neither kept nor shown"
        probe_ok await front JotlingWndClass 0 && alarm_up=1
        [[ "$pending" == "Alarm $k" ]] || [ "$alarm_up" = 0 ] || comebacks=$((comebacks + 1))
    fi
    check_notes "$label"

    # An alarm that came back is this round's to keep, or is kept first.
    if [ "$alarm_up" = 1 ] && [ "$kind" != alarm ]; then
        stylus mousemove --window "$screen" 120 160
        stylus mousemove --sync --window "$screen" 225 13 sleep 0.05 click 1
        wait_for 10 nothing_aside || fail "$label: \"$pending\" is not kept with ok"
        probe_ok await front AllJotlingsWnd 5000
    elif [ "$alarm_up" = 0 ] && [ "$kind" = alarm ]; then
        kind=edit
    fi
    case $kind in
    new)
        dev tap 33 307   # "New" under the list
        probe_ok await front JotlingWndClass 10000 || abort "$label: no new note"
        dev tap 60 39    # the title box, which holds the title used last
        dev key End shift+Home
        dev type "New $k"
        dev drag 40 120 180 170
        ;;
    edit)
        probe_ok handover "$(device_note Big.jot)" || abort "$label: the hand-over was refused"
        probe_ok await front JotlingWndClass 20000 || abort "$label: the large note does not open"
        dev drag 40 120 180 170
        ;;
    esac
    done_kinds[$kind]=$((${done_kinds[$kind]:-0} + 1))
    # The stylus comes to rest on ok first, so that the tap is the press
    # alone and the kill's delay counts from it.
    stylus mousemove --window "$screen" 120 160
    stylus mousemove --sync --window "$screen" 225 13 sleep 0.05
    pids=$(program_pids)
    before=$(folder_state)
    delay=$(kill_delay $kind)
    # The kill waits beside the tap, not after it, so that the moments
    # right after the press are reached too.
    (sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))" && kill -9 $pids) &
    killer=$!
    stylus click 1
    wait "$killer"
    wait_for 10 not_running "$program_pattern" || abort "$label: the program does not die"
    if [ "$before" != "$(folder_state)" ]; then
        begun=$((begun + 1))
        [ -n "${after_min[$kind]:-}" ] && [ "${after_min[$kind]}" -le "$delay" ] || after_min[$kind]=$delay
        echo "$label $kind: killed $delay ms after the tap on ok, after the save began"
    else
        [ "${before_max[$kind]:-0}" -ge "$delay" ] || before_max[$kind]=$delay
        echo "$label $kind: killed $delay ms after the tap on ok, before the save"
    fi
    [ "$kind" = alarm ] || pending=""
done

# The last round's kill is checked by one more start.
dev start-program "$program"
probe_ok await window AllJotlingsWnd 20000 || abort "no list at the last start"
[ -n "$pending" ] && { alarm_settled "$pending" || fail "\"$pending\" neither kept nor shown"; }
check_notes "last start"
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"

echo "rounds: $rounds (new ${done_kinds[new]:-0}, edit ${done_kinds[edit]:-0}, alarm ${done_kinds[alarm]:-0});" \
    "kills after the save had begun: $begun; alarms back after a kill: $comebacks;" \
    "half-written saves left: $(cd "$notes" && ls | grep -c '\.saving$')"
[ "$rounds" -ge 20 ] || fail "a sweep of fewer than 20 rounds"
[ "$begun" -ge 1 ] && pass "kills landed inside saves" || fail "no kill landed after a save began"
finish
