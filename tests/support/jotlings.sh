# The program and its probe on the test device, for the scenarios that start
# Jotlings themselves. Source it after scenario.sh.

program='C:\Program Files\Jotlings\Jotlings.exe'
program_pattern='Program Files.Jotlings.Jotlings\.exe'
probe_exe=$(winpath "$build/bin/JotlingsProbe.exe")
probe() { dev run "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
# The probe's exit code, for its checks and waits.
probe_ok() { dev run "$probe_exe" "$@" >/dev/null 2>&1; }
window_up() { probe_ok window "$1"; }
front_is() { [ "$(probe front)" = "$1" ]; }
settings='HKLM\SOFTWARE\KORVA\Jotlings'
setting() { dev run reg add "$settings" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; }

docs=$(ls -d "$devdir"/prefix/drive_c/users/*/Documents 2>/dev/null | grep -v /Public/ | head -n 1)
notes="$docs/My Jotlings"
note() { winpath "$notes/$1"; }
# A note's path as the program itself names it, on the C: drive: the form
# the Today item hands over, which the program matches exactly.
device_note() {
    local inside=${notes#"$devdir/prefix/drive_c"}
    printf 'C:%s\\%s' "$(printf '%s' "$inside" | tr '/' '\\')" "$1"
}

# The program's processes on this device; other devices of the machine run
# programs of the same name.
program_pids() {
    local prefix pid
    prefix=$(dev env | sed -n 's/^export WINEPREFIX=//p')
    for pid in $(pgrep -f "$program_pattern"); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
            echo "$pid"
        fi
    done
}
# Killed as a crash or a power loss would end it.
kill_program() {
    local pids
    pids=$(program_pids)
    [ -z "$pids" ] || kill -9 $pids
}

# Ends a Jotlings left running and makes sure the shell is up.
fresh_program() {
    dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
    wait_for 20 not_running "$program_pattern" || abort "an earlier Jotlings does not end"
    window_up DesktopExplorerWindow || dev start-program 'C:\windows\shell.exe'
    wait_for 20 window_up DesktopExplorerWindow || abort "no shell"
}
