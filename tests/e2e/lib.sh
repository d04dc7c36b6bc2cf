# Shared by the end-to-end scenarios: $1 the device driver, $2 the test
# device's folder, $3 the build folder.
set -u
driver=$1
device_dir=$2
build=$3

device() { "$driver" --dir "$device_dir" "$@"; }

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to $1 seconds for a command to succeed.
wait_for() {
    local seconds=$1
    shift
    local end=$(( $(date +%s) + seconds ))
    while ! "$@"; do
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# Whether a program (a pattern of its command line) runs on this device;
# other devices of the machine have programs of the same name.
running() {
    local prefix pid
    prefix=$(device env | sed -n 's/^export WINEPREFIX=//p')
    for pid in $(pgrep -f "$1"); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
            return 0
        fi
    done
    return 1
}

not_running() { ! running "$1"; }
