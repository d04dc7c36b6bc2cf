"""Reads an export with real readers.
  check_export.py OUT_DIR EXPECTED_TSV   compares it with what sample-notes
                                         said it must hold
  check_export.py --every OUT_DIR NOTES  every note of the folder is in the
                                         page, its SVG parses and each of its
                                         recordings opens as a WAVE file
  check_export.py --enml OUT_DIR         Jotlings.enex and each note's ENML
                                         parse as XML, with ENML's elements"""
import html.parser
import os
import sys
import urllib.parse
import wave
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"


class Notes(html.parser.HTMLParser):
    """Each li.note of index.html: its data attributes, wave links, audio count."""

    def __init__(self):
        super().__init__()
        self.notes = {}
        self.current = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "li" and "data-file" in a:
            self.current = {"name": a["data-name"], "waves": [], "audio": 0,
                            "damaged": "damaged" in a.get("class", "")}
            self.notes[a["data-file"]] = self.current
        elif self.current is not None and tag == "a" and a.get("href", "").endswith(".wav"):
            self.current["waves"].append(a["href"])
        elif self.current is not None and tag == "audio":
            self.current["audio"] += 1
            if not a.get("src", "").startswith("data:audio/wav;base64,"):
                raise AssertionError("a recording that is not in the page")


def main(out, expected_tsv):
    page = Notes()
    with open(os.path.join(out, "index.html"), encoding="utf-8") as f:
        page.feed(f.read())
    problems = []
    for line in open(expected_tsv, encoding="utf-8"):
        file, title, strokes, frames, has_text, damaged = line.rstrip("\n").split("\t")[:6]
        note = page.notes.get(file)
        if note is None:
            problems.append(f"{file}: not in index.html")
            continue
        svg = ET.parse(os.path.join(out, note["name"] + ".svg")).getroot()
        drawn = [p for p in svg.iter(SVG + "path") if p.get("class") == "stroke"]
        if len(drawn) != int(strokes):
            problems.append(f"{file}: {len(drawn)} strokes in the SVG, {strokes} written")
        want = [int(n) for n in frames.split(",")] if frames else []
        if len(note["waves"]) != len(want) or note["audio"] != len(want):
            problems.append(f"{file}: {len(note['waves'])} recordings, {len(want)} written")
        for href, n in zip(note["waves"], want):
            with wave.open(os.path.join(out, urllib.parse.unquote(href)), "rb") as w:
                if w.getnframes() != n or w.getsampwidth() != 1 or w.getnchannels() != 1:
                    problems.append(f"{href}: {w.getnframes()} frames, {n} recorded")
        text = os.path.join(out, note["name"] + ".txt")
        if os.path.exists(text) != (has_text == "1"):
            problems.append(f"{file}: text file present: {os.path.exists(text)}")
        if note["damaged"] != (damaged == "1"):
            problems.append(f"{file}: shown as damaged: {note['damaged']}")
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


def every(out, folder):
    page = Notes()
    with open(os.path.join(out, "index.html"), encoding="utf-8") as f:
        page.feed(f.read())
    problems = []
    for file in sorted(os.listdir(folder)):
        if not file.lower().endswith((".jot", ".jot.alarm")):
            continue
        note = page.notes.get(file)
        if note is None:
            problems.append(f"{file}: not in index.html")
            continue
        root = ET.parse(os.path.join(out, note["name"] + ".svg")).getroot()
        if root.tag != SVG + "svg":
            problems.append(f"{file}: the picture is no SVG")
        for href in note["waves"]:
            with wave.open(os.path.join(out, urllib.parse.unquote(href)), "rb") as w:
                if w.getnframes() == 0:
                    problems.append(f"{href}: no samples")
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


# What ENML lets a note hold that the export writes.
ENML = {"en-note", "div", "br", "b", "en-media"}


def enml(out):
    problems = []
    with open(os.path.join(out, "Jotlings.enex"), "rb") as f:
        head = f.read(300).decode("utf-8", "replace")
    if "<!DOCTYPE en-export" not in head:
        problems.append("Jotlings.enex has no en-export document type")
    root = ET.parse(os.path.join(out, "Jotlings.enex")).getroot()
    for i, note in enumerate(root.iter("note")):
        content = note.findtext("content") or ""
        if "<!DOCTYPE en-note" not in content:
            problems.append(f"note {i + 1}: no en-note document type")
        try:
            body = ET.fromstring(content.encode("utf-8"))
        except ET.ParseError as e:
            problems.append(f"note {i + 1}: its ENML is no XML: {e}")
            continue
        tags = {e.tag for e in body.iter()}
        if body.tag != "en-note" or not tags <= ENML:
            problems.append(f"note {i + 1}: elements {sorted(tags - ENML)} are not ENML's")
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    if sys.argv[1] == "--enml":
        sys.exit(enml(sys.argv[2]))
    if sys.argv[1] == "--every":
        sys.exit(every(sys.argv[2], sys.argv[3]))
    sys.exit(main(sys.argv[1], sys.argv[2]))
