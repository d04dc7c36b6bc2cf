#!/usr/bin/env bash
# The shell as the device runs it: timed runs that fire, are replaced and
# cleared, and survive a restart of the shell; Today items loaded from the
# registry list and laid out by their height answers; the record button from
# the device driver and from the host key F9; the navigation bar's ok button
# for another program's window; the Start menu.
#   shell_on_device.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../../support/scenario.sh" "$@"
drive=$devdir/prefix/drive_c
probe_exe=$(winpath "$build/bin/ShellProbeTest.exe")
item_dll=$(winpath "$build/bin/testitems/ShellTestItem.dll")
probe() { dev run "$probe_exe" "$@"; }
reg() { dev run reg "$@" >/dev/null 2>&1; }

exists() { [ -e "$drive/$1" ]; }
shell_up() { probe window DesktopExplorerWindow; }
shell_down() { ! probe window DesktopExplorerWindow; }
item_top() { probe itemtop "$1" | tr -d '\r'; }
item_a_up() { probe itemtop ShellTestItemA >/dev/null; }

observations='HKLM\SOFTWARE\JotlingsTests\ShellTestItem'
today_items='HKLM\SOFTWARE\Microsoft\Today\Items'
keys='HKLM\SOFTWARE\Microsoft\Shell\Keys'

cleanup() {
    dev run 'C:\windows\shell.exe' -quit >/dev/null 2>&1
    reg delete "$today_items\\ShellTestItemA" /f
    reg delete "$today_items\\ShellTestItemB" /f
    reg delete "$observations" /f
    # The shell writes its own table again at its next start.
    reg delete "$keys" /f
    rm -f "$drive"/fired-*.txt "$drive/record-probe.txt"
}
cleanup

# --- Set-up while no shell runs -------------------------------------------
reg add "$keys\\40CF" /v Name /d Record /f
reg add "$keys\\40CF" /ve /d "$probe_exe" /f
reg add "$keys\\40CF" /v HostKey /t REG_DWORD /d 120 /f   # VK_F9
reg add "$observations\\ShellTestItemA" /v Height /t REG_DWORD /d 40 /f
reg add "$observations\\ShellTestItemB" /v Height /t REG_DWORD /d 30 /f
# Orders far behind any other item, so that the test items are the last rows
# of the Today settings list.
for item in ShellTestItemA:100 ShellTestItemB:101; do
    name=${item%%:*}
    order=${item##*:}
    reg add "$today_items\\$name" /v DLL /d "$item_dll" /f
    reg add "$today_items\\$name" /v Flags /t REG_DWORD /d 0 /f
    reg add "$today_items\\$name" /v Options /t REG_DWORD /d 1 /f
    reg add "$today_items\\$name" /v Enabled /t REG_DWORD /d 1 /f
    reg add "$today_items\\$name" /v Order /t REG_DWORD /d "$order" /f
    reg add "$today_items\\$name" /v Type /t REG_DWORD /d 4 /f
done

# A run due while the shell is down waits for the shell.
probe set 1 "$probe_exe" 'touch C:\fired-missed.txt' >/dev/null
# One that brings up a window (as an alarm does) while item A takes its time
# to load: the new shell leaves it in front.
printf '<html><body><a name="T"></a><h2>Device test</h2><p>Help text.</p></body></html>' \
    >"$drive/windows/ShellDeviceTest.htm"
reg add "$observations\\ShellTestItemA" /v LoadDelay /t REG_DWORD /d 3000 /f
probe set 1 'C:\windows\PegHelp.exe' 'file:ShellDeviceTest.htm#T' >/dev/null
sleep 2.5
if exists fired-missed.txt; then fail "a timed run started without the shell"; fi

# --- The shell starts ------------------------------------------------------
dev start-program 'C:\windows\shell.exe'
if wait_for 20 shell_up; then pass "the shell's Today screen is up"; else fail "no Today screen"; fi
if wait_for 10 exists fired-missed.txt; then
    pass "a run missed while the shell was down started at its start"
else
    fail "the missed run did not start"
fi
if probe window HHTaskBar; then pass "navigation bar shown"; else fail "no navigation bar"; fi
# Under Wine the window that loses nothing may still show no foreground for
# a moment; what matters is that the Today screen did not take it.
front() { [ "$(probe front | tr -d '\r')" = "$1" ]; }
if wait_for 10 probe window PegHelpWindow && wait_for 10 item_a_up && sleep 1 && ! front DesktopExplorerWindow; then
    pass "the window a missed run brought up keeps the front over the new Today screen"
else
    fail "the new shell took the front from the missed run's window: $(probe front)"
fi
dev run taskkill /IM PegHelp.exe >/dev/null 2>&1
wait_for 10 bash -c "! \"$device\" --dir \"$devdir\" run \"$probe_exe\" window PegHelpWindow" ||
    fail "the missed run's window stays"
reg add "$observations\\ShellTestItemA" /v LoadDelay /t REG_DWORD /d 0 /f

# --- The bar stays over a program's full-screen window ---------------------------
# A program's full-screen frame, shown as it is made, with a modal box made
# at once (an options sheet): the screen raises the frame a moment after Wine
# ordered it. Three times, since that moment is not always late.
covered=0
for try in 1 2 3; do
    dev start-program "$probe_exe" cover 3000
    wait_for 10 probe window ShellProbeCover || fail "no covering window"
    sleep 2
    dev screenshot "$shots/shell-cover.png" >/dev/null 2>&1
    flag=$(convert "$shots/shell-cover.png" -format '%[pixel:p{7,8}]' info: 2>/dev/null)
    [ "$flag" = "srgb(230,60,30)" ] || covered=$((covered + 1))
    wait_for 10 eval '! probe window ShellProbeCover' || fail "the covering window stays"
done
[ "$covered" = 0 ] && pass "the navigation bar stays over a program's full-screen window" \
    || fail "a program's full-screen window covered the navigation bar $covered time(s) of 3"

# --- Timed runs while the shell runs ---------------------------------------
probe set 2 "$probe_exe" 'touch C:\fired-live.txt' >/dev/null
cleared=$(probe set 2 "$probe_exe" 'touch C:\fired-cleared.txt' | tr -d '\r')
probe clear "$cleared" || fail "clearing run $cleared"
moved=$(probe set 60 "$probe_exe" 'touch C:\fired-old.txt' | tr -d '\r')
probe replace "$moved" 2 "$probe_exe" 'touch C:\fired-new.txt' >/dev/null
if wait_for 10 exists fired-live.txt; then pass "a timed run started at its time"; else fail "timed run did not start"; fi
if wait_for 10 exists fired-new.txt; then pass "a replaced run started at its new time"; else fail "replaced run did not start"; fi
sleep 1.5
if exists fired-cleared.txt; then fail "a cleared run started"; else pass "a cleared run never started"; fi
if exists fired-old.txt; then fail "a replaced run kept its old program"; fi

# --- Today items from the registry -----------------------------------------
top_a() { item_top ShellTestItemA; }
top_b() { item_top ShellTestItemB; }
items_laid_out() {
    local a b
    a=$(top_a) && b=$(top_b) || return 1
    [ $((b - a)) -eq "$1" ]
}
if wait_for 10 items_laid_out 40; then
    pass "both test items loaded and laid out one under the other"
else
    fail "items not laid out (A at $(top_a), B at $(top_b))"
fi
dev screenshot "$shots/shell-today.png"
reg add "$observations\\ShellTestItemA" /v Height /t REG_DWORD /d 64 /f
if wait_for 10 items_laid_out 64; then
    pass "a new height answer moved the item below"
else
    fail "height answer ignored (A at $(top_a), B at $(top_b))"
fi
reg add "$today_items\\ShellTestItemB" /v Enabled /t REG_DWORD /d 0 /f
if wait_for 10 bash -c "! \"$device\" --dir \"$devdir\" run \"$probe_exe\" itemtop ShellTestItemB >/dev/null"; then
    pass "an item switched off in the registry left the screen"
else
    fail "switched-off item stayed"
fi

# --- Today settings: an item's options dialog, then Done -------------------
observed() { probe dword "SOFTWARE\\JotlingsTests\\ShellTestItem\\$1" "$2" | tr -d '\r'; }
window_gone() { ! probe "$@"; }
dev tap 15 12                  # Start
sleep 0.5
dev tap 30 35                  # its first entry: Today
sleep 0.5
dev tap 30 307                 # the Today screen's Settings
if wait_for 10 probe window TodaySettingsWindow; then
    pass "the Today screen's Settings opens the item settings"
    dev key End                # the last row: ShellTestItemB (listed though switched off)
    clears_before=$(observed ShellTestItemA ClearCaches)
    dev tap 45 274             # Options...
    if wait_for 10 probe title "Test item options"; then
        dev screenshot "$shots/shell-item-options.png"
        [ "$(observed Options Opened)" = 1 ] && pass "the item's dialog 500 runs with its ordinal 241" ||
            fail "options dialog procedure not called"
        dev key Return
        wait_for 5 window_gone title "Test item options" || fail "options dialog stayed"
        clears_after() { [ "$(observed ShellTestItemA ClearCaches)" != "$clears_before" ]; }
        if wait_for 5 clears_after; then
            pass "items reload (WM_TODAYCUSTOM_CLEARCACHE) after the options changed"
        else
            fail "no cache clearing after the options dialog"
        fi
    else
        fail "the options dialog did not open"
    fi
    sleep 0.6                  # the bar polls the window in front
    dev tap 225 12             # ok
    if wait_for 5 window_gone window TodaySettingsWindow; then
        pass "ok saves and closes the item settings"
    else
        fail "item settings stayed open"
    fi
else
    fail "no item settings"
fi

# --- The record button -------------------------------------------------------
key_held() { ! probe keystate 0xCF; }
key_up() { probe keystate 0xCF; }
probe_says() { [ "$(cat "$drive/record-probe.txt" 2>/dev/null)" = "$1" ]; }
dev record press
if wait_for 5 key_held; then pass "record press holds key 0xCF for other programs"; else fail "0xCF not held"; fi
if wait_for 10 probe_says held; then
    pass "the record button started its program, which saw the button held"
else
    fail "record button program not started"
fi
dev record release
if wait_for 5 key_up; then pass "record release lets 0xCF go"; else fail "0xCF still held"; fi
rm -f "$drive/record-probe.txt"
dev keydown F9
if wait_for 5 key_held; then pass "host key F9 holds the record key"; else fail "F9 did not hold 0xCF"; fi
wait_for 10 probe_says held || fail "F9 did not start the record program"
dev keyup F9
if wait_for 5 key_up; then pass "releasing F9 releases the record key"; else fail "0xCF stuck after F9"; fi

# --- The navigation bar's ok for another program's window -------------------
printf '<html><body><a name="T"></a><h2>Device test</h2><p>Help text.</p></body></html>' \
    >"$drive/windows/ShellDeviceTest.htm"
dev start-program 'C:\windows\PegHelp.exe' 'file:ShellDeviceTest.htm#T'
if wait_for 10 probe window PegHelpWindow; then
    sleep 0.6   # the bar polls the window in front
    dev screenshot "$shots/shell-peghelp.png"
    dev tap 225 12
    if wait_for 5 bash -c "\"$device\" --dir \"$devdir\" run \"$probe_exe\" window PegHelpWindow; [ \$? -ne 0 ]"; then
        pass "the navigation bar's ok closed the help viewer"
    else
        fail "ok did not close the help viewer"
    fi
else
    fail "PegHelp did not open"
fi
rm -f "$drive/windows/ShellDeviceTest.htm"

# --- The Start menu ------------------------------------------------------------
dev tap 15 12
if wait_for 5 probe window '#32768'; then
    dev screenshot "$shots/shell-start-menu.png"
    pass "the Start flag opens the Start menu"
else
    fail "no Start menu"
fi
dev key Escape
wait_for 5 bash -c "\"$device\" --dir \"$devdir\" run \"$probe_exe\" window '#32768'; [ \$? -ne 0 ]" ||
    fail "the Start menu did not close"

# --- A quit ends the shell whole; a start waits for a shell going down ---------
# Item A's teardown takes four seconds, as an item's that waits for its threads.
reg add "$observations\\ShellTestItemA" /v UnloadDelay /t REG_DWORD /d 4000 /f
unloads_before=$(observed ShellTestItemA Unloads)
dev run 'C:\windows\shell.exe' -quit || fail "shell did not quit"
if [ "$(observed ShellTestItemA Unloads)" != "$unloads_before" ] && not_running 'shell\.exe'; then
    pass "shell.exe -quit returns once the shell's items are unloaded and its process has ended"
else
    fail "shell.exe -quit returned before the shell had gone (item unloads $(observed ShellTestItemA Unloads), were $unloads_before)"
fi
dev start-program 'C:\windows\shell.exe'
wait_for 20 item_a_up || fail "shell did not come back"
reg add "$observations\\ShellTestItemA" /v MostLive /t REG_DWORD /d 1 /f
begun_before=$(observed ShellTestItemA UnloadsBegun)
unloads_before=$(observed ShellTestItemA Unloads)
dev start-program 'C:\windows\shell.exe' -quit
begun() { [ "$(observed ShellTestItemA UnloadsBegun)" != "$begun_before" ]; }
wait_for 20 begun || fail "the shell did not begin to go down"
# Started while the old shell still unloads its items.
dev start-program 'C:\windows\shell.exe'
one_again() { [ "$(observed ShellTestItemA Unloads)" != "$unloads_before" ] && [ "$(observed ShellTestItemA Live)" = 1 ]; }
if wait_for 40 one_again && wait_for 20 item_a_up; then
    [ "$(observed ShellTestItemA MostLive)" = 1 ] &&
        pass "a shell started while another goes down waits for it: never two shells with the item" ||
        fail "two shells hosted the item at once"
else
    fail "no shell with the item after a start during a quit (live $(observed ShellTestItemA Live))"
fi
reg add "$observations\\ShellTestItemA" /v UnloadDelay /t REG_DWORD /d 0 /f

# --- A restart keeps pending runs ----------------------------------------------
probe set 4 "$probe_exe" 'touch C:\fired-restart.txt' >/dev/null
dev run 'C:\windows\shell.exe' -quit || fail "shell did not quit"
wait_for 10 shell_down || fail "shell still up"
dev start-program 'C:\windows\shell.exe'
wait_for 20 shell_up || fail "shell did not come back"
if wait_for 15 exists fired-restart.txt; then
    pass "a run set before a restart of the shell started after it"
else
    fail "run lost in the restart"
fi

cleanup
finish
