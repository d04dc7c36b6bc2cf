# Shared by the end-to-end scenarios, which ctest runs as
#   SCENARIO.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
# against the running test device. Source it with the script's arguments.
set -u
device=$1
devdir=$(cd "$2" && pwd)
build=$3
shots=$build/screenshots
mkdir -p "$shots"

dev() { "$device" --dir "$devdir" "$@"; }

# Unix path -> the Z: path programs on the device see.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

# Crash reports the device writes from here on belong to this scenario.
crash_stamp=$(mktemp "${TMPDIR:-/tmp}/jotlings-crash-stamp.XXXXXX")
trap 'rm -f "$crash_stamp"' EXIT
crashes_shown=0
# Prints the crash reports written since the scenario began, once each
# failure finds new ones; true when there were any.
show_crashes() {
    local reports
    reports=$(dev crashes --since "$crash_stamp") || return 1
    if [ "$(printf '%s' "$reports" | grep -c '^=== crash report')" -gt "$crashes_shown" ]; then
        printf '%s\n' "$reports"
        crashes_shown=$(printf '%s' "$reports" | grep -c '^=== crash report')
    fi
    return 0
}

# Checks count their failures; a scenario ends with `finish`.
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
    show_crashes
    # What stood on the screen, front to back, for the reader of the log.
    dev run "$(winpath "$build/bin/JotlingsProbe.exe")" windows 2>/dev/null | tr -d '\r' | sed 's/^/    window: /'
}
pass() { echo "ok: $*"; }
# A failure after which the scenario cannot go on.
abort() {
    fail "$@"
    exit 1
}
finish() {
    # A process of the device that crashed fails the scenario, whatever the
    # checks saw.
    if show_crashes; then
        echo "FAIL: a process of the device crashed (report above)"
        failures=$((failures + 1))
    fi
    echo "$failures failure(s); screenshots in $shots"
    [ "$failures" -eq 0 ]
}

# wait_for SECONDS COMMAND...: polls COMMAND every 0.25 s until it succeeds.
wait_for() {
    local limit=$(( $1 * 4 ))
    shift
    local i
    for ((i = 0; i < limit; i++)); do
        "$@" && return 0
        sleep 0.25
    done
    return 1
}

# start_menu_item Y: taps Start and, once its menu is up, the item at height
# Y. A busy device can take longer than a moment to open the menu, and a tap
# on the item before it is there opens nothing. The scenario defines
# window_up (a probe for a visible window of a class).
start_menu_item() {
    local try
    for try in 1 2 3; do
        dev tap 10 13
        if wait_for 5 window_up '#32768'; then
            dev tap 35 "$1"
            return 0
        fi
    done
    return 1
}

# Whether a program (a pattern of its command line) runs on this device;
# other devices of the machine run programs of the same name.
running() {
    local prefix pid
    prefix=$(dev env | sed -n 's/^export WINEPREFIX=//p')
    for pid in $(pgrep -f "$1"); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
            return 0
        fi
    done
    return 1
}
not_running() { ! running "$1"; }

# What the screen shows, beside what the program's model says (the
# scenario defines probe, as for start_menu_item). screen_rows NAME saves
# the screen as NAME.png and prints, for each row of the all-notes list on
# it, "N text|empty plain|marked", then "below text|empty" for the list
# under its rows, on one line with "/" between (tests/support/screen.py).
screen_py=$(dirname "${BASH_SOURCE[0]}")/screen.py
screen_rows() {
    local boxes
    boxes=$(probe rowboxes) || { echo "no list"; return 1; }
    dev screenshot "$shots/$1.png" >/dev/null 2>&1
    printf '%s\n' "$boxes" | python3 "$screen_py" rows "$shots/$1.png" | tr '\n' '/'
}
# screen_lines NAME LEFT TOP RIGHT BOTTOM: how many lines of writing the
# screenshot NAME.png holds in that rectangle.
screen_lines() { python3 "$screen_py" lines "$shots/$1.png" "${@:2}"; }
