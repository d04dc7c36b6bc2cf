#!/usr/bin/env bash
# The menu-bar demo on the device, looked at as a person would: the input
# panel drawn above the menu bar when the program raises it at start, the
# panel's button lowering it for every program of the device, a drop-down of
# the menu bar whose item reaches the program, typing on the panel.
#   menubar_on_device.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../../support/scenario.sh" "$@"
probe_exe=$(winpath "$build/bin/SipProbeTest.exe")
sip_flags() { dev run "$probe_exe" "$@" >/dev/null 2>&1; echo $?; }

shot=$shots/ceshell-current.png
# Mean brightness (0-255) of a W x H area at X,Y of a fresh screenshot.
brightness() {
    dev screenshot "$shot" >/dev/null 2>&1 || return 1
    convert "$shot" -crop "$3x$4+$1+$2" +repage -colorspace Gray -format '%[fx:int(255*mean)]' info:
}
# The panel's background between its keys is grey 160 and its keys are
# nearly white; the demo's own window is white there (and a window not yet
# painted is neither).
panel_up() {
    local gap key
    gap=$(brightness 0 214 240 1) && key=$(brightness 3 217 8 8) || return 1
    [ "$gap" -ge 150 ] && [ "$gap" -le 170 ] && [ "$key" -ge 240 ]
}
panel_down() { [ "$(brightness 0 214 240 1)" -gt 240 ]; }
# The demo's first text line, "Type here...", drawn dark on white.
text_line_blank() { [ "$(brightness 0 27 120 10)" -ge 254 ]; }
text_line_inked() { [ "$(brightness 0 27 120 10)" -lt 250 ]; }
# Only this device's demo: other devices may run on the same machine.
demo_running() {
    local pid
    for pid in $(pgrep -f 'C:.windows.MenuBarDemo.exe'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$devdir/prefix" && return 0
    done
    return 1
}
demo_gone() { ! demo_running; }

cleanup() {
    dev run taskkill /im MenuBarDemo.exe >/dev/null 2>&1
    wait_for 5 demo_gone || dev run taskkill /f /im MenuBarDemo.exe >/dev/null 2>&1
    sip_flags off >/dev/null
}
cleanup
# Whatever happens below, the demo does not stay on the device's screen for
# the scenarios after this one.
trap cleanup EXIT

dev start-program 'C:\windows\MenuBarDemo.exe' /sip
if wait_for 10 panel_up; then
    pass "the panel raised at start shows above the menu bar"
else
    fail "no input panel on the screen after the demo raised it"
fi
cp "$shot" "$shots/ceshell-menubar-panel-up.png"
flags=$(sip_flags)
[ "$flags" = 1 ] && pass "another process sees the panel up" || fail "another process sees flags $flags, not the panel up"

# The panel button at the bar's right end lowers it, device-wide.
dev tap 228 307
wait_for 5 panel_down && pass "the panel button lowers the panel" || fail "panel still drawn after its button"
flags=$(sip_flags)
[ "$flags" = 0 ] && pass "another process sees the panel down" || fail "another process sees flags $flags, not the panel down"

# Tools drop-down (second button of the bar), first item "Clear text".
dev tap 88 307
sleep 0.5
dev screenshot "$shots/ceshell-menubar-dropdown.png" >/dev/null 2>&1
dev tap 100 249
if wait_for 5 text_line_blank; then
    pass "the drop-down's item reached the program"
else
    fail "the text is still there after Tools > Clear text"
fi

# Tools > Show keyboard raises the panel; its keys type into the text.
dev tap 88 307
sleep 0.5
dev tap 100 262
wait_for 5 panel_up && pass "the program raised the panel again" || fail "no panel after Tools > Show keyboard"
dev tap 48 238     # w
dev tap 144 270    # m
if wait_for 5 text_line_inked; then
    pass "keys of the panel typed into the program's text"
else
    fail "the text stayed empty after tapping panel keys"
fi
dev screenshot "$shots/ceshell-menubar-typed.png" >/dev/null 2>&1

finish
