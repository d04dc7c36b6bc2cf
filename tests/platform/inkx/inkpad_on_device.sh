#!/usr/bin/env bash
# InkPad, the ink control's try-out program, driven as a person would on the
# device: it opens, the stylus writes, typing shows text, zoom changes the
# drawing, the X button closes it. Screenshots land in BUILD_DIR/screenshots.
#   inkpad_on_device.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../../support/scenario.sh" "$@"

shot() { dev screenshot "$shots/$1.png" >/dev/null 2>&1; }
# Red + green + blue of one pixel of a screenshot.
brightness() {
    convert "$shots/$1.png" -format "%[fx:int(255*p{$2,$3}.r+255*p{$2,$3}.g+255*p{$2,$3}.b)]" info:
}
differs() { [ "$(compare -metric AE "$shots/$1.png" "$shots/$2.png" null: 2>&1)" != "0" ]; }

page_is_up() { shot inkpad-open && [ "$(brightness inkpad-open 120 200)" -ge 750 ]; }
ink_is_drawn() { shot inkpad-stroke && [ "$(brightness inkpad-stroke 120 160)" -le 200 ]; }
changed_from() { shot "$2" && differs "$1" "$2"; }
window_gone() { shot inkpad-closed && [ "$(brightness inkpad-closed 120 200)" -lt 750 ]; }

dev start-program 'C:\windows\InkPad.exe'
if wait_for 20 page_is_up; then pass "InkPad shows an empty page"; else fail "no InkPad page"; fi

dev drag 20 150 220 170
if wait_for 5 ink_is_drawn; then pass "the stylus writes"; else fail "no ink after a stroke"; fi

dev tap 15 37          # Pen -> Type
dev type "Hello"
if wait_for 5 changed_from inkpad-stroke inkpad-typed; then pass "typed text shows"; else fail "typing changed nothing"; fi

dev tap 75 37          # zoom out
if wait_for 5 changed_from inkpad-typed inkpad-zoomed; then pass "zoom redraws"; else fail "zoom changed nothing"; fi

dev tap 45 37          # next page style
if wait_for 5 changed_from inkpad-zoomed inkpad-grid; then pass "page style redraws"; else fail "page style changed nothing"; fi

dev tap 135 37         # undo the typing
if wait_for 5 changed_from inkpad-grid inkpad-undone; then pass "undo redraws"; else fail "undo changed nothing"; fi

dev tap 225 37         # close
if wait_for 10 window_gone; then pass "X closes InkPad"; else fail "InkPad stayed open"; fi

finish
