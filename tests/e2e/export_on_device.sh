#!/usr/bin/env bash
# The device's notes out on the desktop: a note written by tapping (ink and
# typed text) and one recorded with the record button join whatever notes
# the device holds, one note is damaged as a cut copy would be, and `device export`
# writes them all; real readers then open every file, Chromium shows the
# page with every note and no console message, and the notes folder is
# byte for byte as it was. Exported again while a note's alarm is on screen,
# the folder then holds that note and nothing stale.
#   export_on_device.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../support/scenario.sh" "$@"
source "$(dirname "$0")/../support/jotlings.sh"

mkdir -p "$notes"
note_count() { ls "$notes" | grep -c '\.jot$'; }
out=$build/export-on-device
rm -rf "$out"

dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || abort "an earlier Jotlings does not end"
window_up DesktopExplorerWindow || dev start-program 'C:\windows\shell.exe'
wait_for 20 window_up DesktopExplorerWindow || abort "no shell"

# --- A note by tapping, and one by the record button ------------------------
setting RecBtn 1
before=$(note_count)
dev start-program "$program" showall
wait_for 20 front_is AllJotlingsWnd || abort "no all-notes window"
dev tap 34 307           # New
wait_for 20 front_is JotlingWndClass && pass "a new note opens" || abort "no note window"
dev drag 40 120 180 170
dev drag 40 170 180 120
dev tap 165 307          # pen mode off: typing
dev tap 120 120
dev type "export me"
dev tap 225 13           # ok keeps it
wait_for 15 test "$(note_count)" -gt "$before" && pass "the note is kept" || abort "no new note file"
drawn=$(cd "$notes" && ls -t | grep '\.jot$' | head -n 1)
wait_for 10 front_is AllJotlingsWnd || fail "the list is not in front"
dev record press
wait_for 20 front_is JotlingWndClass && pass "the record button opens a new note" || fail "no note for the record button"
sleep 2
dev record release
sleep 1
# What the note held when ok was tapped (its recording's icon), for a reader
# of a failure below.
dev screenshot "$shots/export-recorded.png" >/dev/null 2>&1
dev tap 225 13
if wait_for 15 test "$(note_count)" -gt $((before + 1)); then
    pass "the recorded note is kept"
else
    fail "no recorded note"
    # A save that came late, or none at all: the folder as it stands and
    # 30 s later.
    ls -la --time-style=+%T "$notes"
    wait_for 30 test "$(note_count)" -gt $((before + 1)) && echo "    the note came $(date +%T)" ||
        echo "    no note after 30 s more"
fi
setting RecBtn 0
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"

# --- A damaged note: the drawn one cut in its content ----------------------
size=$(stat -c %s "$notes/$drawn")
head -c $((size - 12)) "$notes/$drawn" >"$notes/Jotling999.jot"

sums() { (cd "$notes" && ls -la --time-style=+%s . | awk '{print $1, $5, $6, $7}' && sha256sum -- *); }
kept=$(sums)
dev export "$out" >/dev/null && pass "device export writes the notes out" || fail "device export failed"
[ "$(sums)" = "$kept" ] && pass "the notes folder is left as it was" || fail "the notes folder changed"

# --- Real readers ------------------------------------------------------------
python3 "$(dirname "$0")/../../desktop/tests/check_export.py" --every "$out" "$notes" &&
    pass "every note's SVG parses and every recording opens as a WAVE file" || fail "an exported file does not read"
python3 - "$out" "$drawn" <<'PY' && pass "the drawn note has its strokes and text" || fail "the drawn note lost its ink or text"
import sys, xml.etree.ElementTree as ET, html.parser
out, drawn = sys.argv[1], sys.argv[2]
class P(html.parser.HTMLParser):
    names = {}
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "data-file" in a:
            self.names[a["data-file"]] = a["data-name"]
p = P()
p.feed(open(out + "/index.html", encoding="utf-8").read())
name = p.names[drawn]
svg = ET.parse(f"{out}/{name}.svg").getroot()
strokes = [e for e in svg.iter("{http://www.w3.org/2000/svg}path") if e.get("class") == "stroke"]
text = open(f"{out}/{name}.txt", encoding="utf-8").read()
sys.exit(0 if len(strokes) == 2 and "export me" in text else 1)
PY
grep -q 'data-file="Jotling999.jot"[^>]*' "$out/index.html" &&
    grep -o '<li class="note damaged"[^>]*data-file="Jotling999.jot"' "$out/index.html" >/dev/null &&
    pass "the damaged note is listed as damaged" || fail "the damaged note is not shown as damaged"
recorded=$(ls "$out" | grep -c '\.wav$')
[ "$recorded" -ge 1 ] && pass "the recorded note's recording is exported ($recorded)" || fail "no recording exported"

profile=$(mktemp -d)
chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" --enable-logging=stderr --v=0 \
    --virtual-time-budget=3000 --dump-dom "file://$out/index.html" >"$out.dom" 2>"$out.log"
! grep CONSOLE "$out.log" && pass "Chromium shows the page without a console message" || fail "console: $(grep CONSOLE "$out.log" | head -n 2)"
missing=0
for f in $(cd "$notes" && ls | grep '\.jot$'); do
    grep -q "data-file=\"$f\"" "$out.dom" || missing=$((missing + 1))
done
[ "$missing" = 0 ] && pass "every note of the folder is in the page" || fail "$missing notes missing from the page"
python3 "$(dirname "$0")/../../desktop/tests/find_in_page.py" "$out/index.html" "EXPORT ME=$drawn" &&
    pass "typing in the page's find field leaves the note written by tapping" || fail "the page's find field"
chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" --hide-scrollbars \
    --window-size=1000,1000 --screenshot="$shots/export-page.png" "file://$out/index.html" >/dev/null 2>&1
rm -rf "$profile"

# --- Again, while an alarm is on screen -----------------------------------------
# The damaged copy is gone and a note is due: its alarm comes up at start and
# the note waits aside as JotlingN.jot.alarm. An export into the same folder
# has that note, pending, and nothing of the one removed.
rm -f "$notes/Jotling999.jot"
earlier=$(ls "$notes")
probe write "$(note Jotling998.jot)" "Due at export" -1
dev start-program "$program"
wait_for 20 front_is JotlingWndClass && [ "$(probe title)" = "Due at export" ] || fail "no alarm: $(probe front)"
wait_for 10 test -e "$notes/Jotling998.jot.alarm" || fail "the alarm's note is not aside"
dev export "$out" >/dev/null && pass "device export runs again during an alarm" || fail "the second export failed"
grep -q 'data-file="Jotling998.jot.alarm"' "$out/index.html" &&
    grep -q '<title>Due at export</title>' "$out/Jotlings.enex" &&
    pass "the note whose alarm is on screen is exported" || fail "the alarm's note is not in the export"
pictures=$(ls "$out" | grep -c '\.svg$')
shown=$(grep -o '<li class="note' "$out/index.html" | wc -l)
! grep -q 'data-file="Jotling999.jot"' "$out/index.html" && [ "$pictures" = "$shown" ] &&
    pass "nothing of the note removed since the last export is left" || fail "$pictures pictures for $shown notes"
listed=$(grep -v '^#' "$out/.jotlings-export" | sort)
[ "$listed" = "$(ls "$out" | sort)" ] && pass "the folder holds exactly what the export lists" \
    || fail "listed and present differ: $(diff <(echo "$listed") <(ls "$out" | sort) | head -n 4 | tr '\n' ' ')"
dev tap 225 13
wait_for 10 test ! -e "$notes/Jotling998.jot.alarm" || fail "the alarm's note is not back"
for f in $(ls "$notes"); do
    grep -qxF "$f" <<<"$earlier" || rm -f "$notes/$f"
done
dev run taskkill /IM Jotlings.exe >/dev/null 2>&1
wait_for 20 not_running "$program_pattern" || fail "Jotlings does not end"
finish
