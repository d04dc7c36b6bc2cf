// Reads Jotlings.enex with Notesnook's ENEX parser (the one its importer
// uses) and checks every note against what sample-notes wrote: title, text,
// picture, recordings, each resource's hash and each reminder.
//   node check_enex.bundle.mjs ENEX EXPECTED_TSV TIME_ZONE
// TIME_ZONE is the IANA name of the zone the device's registry describes;
// the expected reminders are worked out from it here, not by the exporter.
import { parse } from "@notesnook-importer/enex";
import { parseDocument, Parser } from "htmlparser2";
import fs from "node:fs";

const [enexPath, tsvPath, zone] = process.argv.slice(2);
const xml = fs.readFileSync(enexPath, "utf8");
const problems = [];

const notes = [];
for await (const batch of parse(xml)) notes.push(...batch);

// The parser keeps no note attributes: the reminders come from the XML.
const reminders = [];
{
    let current = null, field = null;
    const p = new Parser({
        onopentag(name) {
            if (name === "note") reminders.push((current = {}));
            else if (current && (name === "reminder-time" || name === "reminder-done-time")) field = name;
        },
        ontext(text) { if (field) current[field] = (current[field] || "") + text; },
        onclosetag() { field = null; },
    }, { xmlMode: true });
    p.end(xml);
}

// Milliseconds of a local wall time in zone, as UTC.
function utcOf(iso, zone) {
    const [d, t] = iso.split("T");
    const [y, mo, da] = d.split("-").map(Number);
    const [h, mi, s] = t.split(":").map(Number);
    const wall = Date.UTC(y, mo - 1, da, h, mi, s);
    const offsetAt = (ms) => {
        const name = new Intl.DateTimeFormat("en-US", { timeZone: zone, timeZoneName: "longOffset" })
            .formatToParts(new Date(ms)).find((x) => x.type === "timeZoneName").value;
        const m = /GMT([+-])(\d\d):(\d\d)/.exec(name);
        return m ? (m[1] === "+" ? 1 : -1) * (Number(m[2]) * 60 + Number(m[3])) * 60000 : 0;
    };
    let utc = wall - offsetAt(wall);
    return wall - offsetAt(utc);
}
function enexTime(ms) {
    return new Date(ms).toISOString().replace(/[-:]/g, "").replace(/\.\d+Z$/, "Z");
}

// The note's lines as a reader sees them, and its en-media in order.
function readContent(enml) {
    const doc = parseDocument(enml, { xmlMode: true });
    const lines = [], media = [];
    let damaged = false;
    const walk = (node, inLine) => {
        for (const child of node.children || []) {
            if (child.type === "tag" && child.name === "b") { damaged = true; continue; }
            if (child.type === "tag" && child.name === "en-media") media.push(child.attribs);
            else if (child.type === "tag" && child.name === "div" && !inLine) {
                const before = media.length;
                const text = [];
                const gather = (n) => {
                    for (const c of n.children || []) {
                        if (c.type === "text") text.push(c.data);
                        else if (c.type === "tag" && c.name === "en-media") media.push(c.attribs);
                        else if (c.type === "tag" && c.name === "b") damaged = true;
                        else gather(c);
                    }
                };
                gather(child);
                if (media.length === before && !(child.children.length === 1 && child.children[0].name === "b"))
                    lines.push(text.join(""));
            } else walk(child, inLine);
        }
    };
    walk(doc, false);
    return { lines, media, damaged };
}

const expected = fs.readFileSync(tsvPath, "utf8").trim().split("\n").map((l) => {
    const [file, title, strokes, frames, hasText, damaged, text, expiry, expired] = l.split("\t");
    return { file, title, strokes: Number(strokes), frames: frames ? frames.split(",").map(Number) : [],
             damaged: damaged === "1", text: text.replace(/\\n/g, "\n"), expiry, expired: expired === "1" };
});
if (notes.length !== expected.length)
    problems.push(`${notes.length} notes in the file, ${expected.length} written`);
if (reminders.length !== notes.length)
    problems.push(`${reminders.length} notes seen in the XML, ${notes.length} by the parser`);

const used = new Set();
for (const want of expected) {
    const i = notes.findIndex((n, k) => !used.has(k) && n.title === (want.title || "(no title)") &&
        n.resources.filter((r) => r.mime === "audio/wav").length === want.frames.length);
    if (i < 0) { problems.push(`${want.file}: no note titled ${JSON.stringify(want.title)}`); continue; }
    used.add(i);
    const note = notes[i], reminder = reminders[i];
    const { lines, media, damaged } = readContent(note.content || "");
    const say = (what) => problems.push(`${want.file}: ${what}`);
    if (lines.join("\n") !== want.text) say(`text ${JSON.stringify(lines.join("\n"))}, written ${JSON.stringify(want.text)}`);
    if (damaged !== want.damaged) say(`says it is damaged: ${damaged}`);
    const pictures = note.resources.filter((r) => r.mime === "image/png");
    if (pictures.length !== (want.strokes > 0 ? 1 : 0)) say(`${pictures.length} pictures for ${want.strokes} strokes`);
    for (const png of pictures) {
        const d = Buffer.from(png.data);
        if (d.toString("latin1", 1, 4) !== "PNG" || d.readUInt32BE(16) !== png.width || d.readUInt32BE(20) !== png.height)
            say(`the picture is no PNG of ${png.width} x ${png.height}`);
    }
    const waves = note.resources.filter((r) => r.mime === "audio/wav");
    const frames = waves.map((w) => w.data.length - 44);
    if (JSON.stringify(frames) !== JSON.stringify(want.frames)) say(`recordings of ${frames} frames, written ${want.frames}`);
    for (const w of waves) {
        if (Buffer.from(w.data).toString("latin1", 0, 4) !== "RIFF") say("a recording is no WAVE file");
    }
    const hashes = media.map((m) => m.hash);
    for (const r of note.resources) {
        if (!hashes.includes(r.hash)) say(`resource ${r.filename} (MD5 ${r.hash}) is not in the content`);
    }
    for (const m of media) {
        if (!note.resources.some((r) => r.hash === m.hash && r.mime === m.type)) say(`en-media ${m.hash} has no resource`);
    }
    const wantTime = want.expiry ? enexTime(utcOf(want.expiry, zone)) : undefined;
    if (reminder["reminder-time"] !== wantTime) say(`reminder ${reminder["reminder-time"]}, due ${wantTime}`);
    if (!!reminder["reminder-done-time"] !== (want.expiry !== "" && want.expired)) say(`reminder done: ${reminder["reminder-done-time"]}`);
}
for (const p of problems) console.error(p);
console.log(`${notes.length} notes read by @notesnook-importer/enex, ${problems.length} problems`);
process.exit(problems.length ? 1 : 0);
