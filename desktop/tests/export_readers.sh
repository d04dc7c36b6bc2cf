#!/usr/bin/env bash
# The exporter's output read by real readers: each SVG parsed as XML with
# its strokes counted, each WAVE file opened by Python's wave module,
# index.html loaded by headless Chromium with no console message and every
# note present, and its find field typed into there, and Jotlings.enex read
# by a notes app's ENEX parser (installed by ./test into
# NATIVE_BUILD_DIR/enex) with each note's ENML parsed as XML. The notes
# folder is left byte for byte as it was.
#   export_readers.sh NATIVE_BUILD_DIR
set -u
bin=$1/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() {
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*" >&2; fi
}

"$bin/sample-notes" "$work/notes" >"$work/expected.tsv"
before=$(cd "$work/notes" && sha256sum * | sort)
# A device whose clock keeps Central European time, summer time included.
mkdir -p "$work/prefix"
cat >"$work/prefix/system.reg" <<'REG'
WINE REGISTRY Version 2

[System\\CurrentControlSet\\Control\\TimeZoneInformation] 1765432100
"Bias"=dword:ffffffc4
"DaylightBias"=dword:ffffffc4
"DaylightStart"=hex:00,00,03,00,00,00,05,00,02,00,00,00,00,00,00,00
"StandardBias"=dword:00000000
"StandardStart"=hex:00,00,0a,00,00,00,05,00,03,00,00,00,00,00,00,00
"TimeZoneKeyName"="W. Europe Standard Time"
REG
check "$bin/jotlings-export" "$work/out" "$work/notes" "$work/prefix"
check python3 "$(dirname "$0")/check_export.py" "$work/out" "$work/expected.tsv"
check node "$1/enex/check_enex.bundle.mjs" "$work/out/Jotlings.enex" "$work/expected.tsv" Europe/Berlin
check python3 "$(dirname "$0")/check_export.py" --enml "$work/out"

# A fresh profile each run, and nothing that reaches out of the machine.
chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile" \
    --enable-logging=stderr --v=0 --virtual-time-budget=3000 --dump-dom \
    "file://$work/out/index.html" >"$work/dom.html" 2>"$work/chromium.log"
no_console() {
    ! grep 'CONSOLE' "$work/chromium.log"
}
check no_console
every_note_shown() {
    local file
    for file in $(cut -f1 "$work/expected.tsv"); do
        grep -q "data-file=\"$file\"" "$work/dom.html" || { echo "not in the page: $file" >&2; return 1; }
    done
}
check every_note_shown
check python3 "$(dirname "$0")/find_in_page.py" "$work/out/index.html"

# Never into the notes folder, even when asked to.
refuses_notes_folder() {
    ! "$bin/jotlings-export" "$work/notes/out" "$work/notes" 2>/dev/null &&
        ! "$bin/jotlings-export" "$work/notes" "$work/notes" 2>/dev/null
}
check refuses_notes_folder
never_made() {
    [ ! -e "$work/notes/out" ]
}
check never_made
unchanged() {
    [ "$(cd "$work/notes" && sha256sum * | sort)" = "$before" ] && [ "$(ls -A "$work/notes" | wc -l)" = 7 ]
}
check unchanged

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
