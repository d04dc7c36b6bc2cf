#include "desktop/export/HtmlIndex.h"

#include "desktop/export/Markup.h"
#include "desktop/export/Digests.h"
#include "formats/FindLetters.h"

#include <stdio.h>
#include <string.h>

namespace exporter {

namespace {

const char kStyle[] =
    "body{font-family:'DejaVu Sans',Tahoma,sans-serif;margin:0;background:#f4f4f0;color:#222}"
    "header{background:#2b4a8b;color:#fff;padding:12px 20px}"
    "header h1{margin:0;font-size:22px}header p{margin:4px 0 0;font-size:13px}"
    "ol.notes{list-style:none;margin:0;padding:12px 20px;display:flex;flex-wrap:wrap;gap:16px}"
    "li.note{background:#fff;border:1px solid #ccc;border-radius:6px;padding:10px 14px;"
    "width:300px;box-shadow:0 1px 3px rgba(0,0,0,.15)}"
    "li.note.damaged{border-color:#c33}"
    "h2{font-size:17px;margin:0 0 4px;overflow-wrap:anywhere}h2.untitled{color:#777;font-style:italic}"
    ".expiry{font-size:13px;margin:0 0 8px}"
    ".state{display:inline-block;padding:0 6px;border-radius:3px;font-size:12px}"
    ".state.expired{background:#c33;color:#fff}.state.pending{background:#e8d44d}"
    ".state.never{background:#ddd}"
    "figure{margin:0 0 8px}figure svg{max-width:100%;height:auto;border:1px solid #999}"
    "pre.text{white-space:pre-wrap;overflow-wrap:anywhere;background:#fffbe0;padding:6px;"
    "margin:0 0 8px;font-family:inherit;font-size:14px}"
    "audio{width:100%}.recording{font-size:12px;margin-bottom:6px}"
    ".files{font-size:12px;color:#555}"
    ".damage{background:#fdecec;border-left:4px solid #c33;padding:4px 8px;font-size:13px;"
    "margin-bottom:8px}.damage ul{margin:4px 0;padding-left:18px}"
    "header p.find{margin-top:8px}header input{font:inherit;font-size:15px;padding:3px 6px;width:260px}"
    "#find-count{margin-left:8px}li.note[hidden]{display:none}";

// The page's find: the notes shown are those whose title or text holds
// every word typed, compared as the device's find compares them
// (notes/FindFolding.h there): lower case, marks dropped, compatibility
// forms spelled out, the letters of formats/FindLetters.h as they are read,
// Greek's final sigma as its sigma, a letter beyond the basic plane folded
// as any other, and the space a spacing accent decomposes to dropped. The
// letters' table goes in between these two parts.
const char kFindScriptHead[] = "(function () {\n\"use strict\";\nvar letters = ";
const char kFindScriptBody[] =
    ";\n"
    "function fold(text) {\n"
    "  var out = \"\";\n"
    "  for (var ch of text) {\n"
    "    var lower = ch.toLowerCase();\n"
    "    if (letters[lower]) { out += letters[lower]; continue; }\n"
    "    for (var part of lower.normalize(\"NFKD\")) {\n"
    "      if (/\\p{Mn}/u.test(part) || (part === \" \" && ch !== \" \")) continue;\n"
    "      var small = part.toLowerCase();\n"
    "      if (small === \"\\u03c2\") small = \"\\u03c3\";\n"
    "      out += letters[small] || small;\n"
    "    }\n"
    "  }\n"
    "  return out;\n"
    "}\n"
    "var box = document.getElementById(\"find\");\n"
    "var count = document.getElementById(\"find-count\");\n"
    "var notes = Array.prototype.map.call(document.querySelectorAll(\"li.note\"), function (li) {\n"
    "  var title = li.querySelector(\"h2:not(.untitled)\"), text = li.querySelector(\"pre.text\");\n"
    "  return {li: li, title: fold(title ? title.textContent : \"\"), text: fold(text ? text.textContent : \"\")};\n"
    "});\n"
    "function show() {\n"
    "  var words = box.value.split(/\\s+/).map(fold).filter(function (w) { return w.length > 0; });\n"
    "  var found = 0;\n"
    "  notes.forEach(function (note) {\n"
    "    var hit = words.every(function (w) { return note.title.indexOf(w) >= 0 || note.text.indexOf(w) >= 0; });\n"
    "    note.li.hidden = !hit;\n"
    "    if (hit) found++;\n"
    "  });\n"
    "  count.textContent = words.length ? found + \" of \" + notes.length\n"
    "                                   : notes.length + (notes.length === 1 ? \" note\" : \" notes\");\n"
    "}\n"
    "box.addEventListener(\"input\", show);\n"
    "box.addEventListener(\"keydown\", function (e) {\n"
    "  if (e.key === \"Escape\") { box.value = \"\"; show(); }\n"
    "});\n"
    "show();\n"
    "})();\n";

std::string Html(const std::string& utf8)
{
    return EscapeXml(utf8);
}

// A file name as a relative link: every byte but the unreserved ones
// percent-encoded, so '#', '%', '?' and spaces in a title name the file
// rather than a fragment, an escape or a query.
std::string Link(const std::string& fileName)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string link;
    for (char ch : fileName) {
        unsigned char c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            strchr("-._~", c) != nullptr) {
            link += ch;
        } else {
            link += '%';
            link += kHex[c >> 4];
            link += kHex[c & 15];
        }
    }
    return link;
}

// A recording's name in the page and the link to its file.
std::string Recording(const ExportedNote& note, size_t i)
{
    const std::vector<uint8_t>& wave = note.reading->content.recordings[i].wave;
    std::string file = Html(note.waveFiles[i]);
    return "<div class=\"recording\">Recording " + std::to_string(i + 1) +
           " <a href=\"" + Link(note.waveFiles[i]) + "\">" + file + "</a><audio controls preload=\"auto\" src=\"data:audio/wav;base64," +
           Base64(wave) + "\"></audio></div>";
}

std::string State(const NoteReading& note)
{
    if (!note.HasHead())
        return "<span class=\"state\">unknown</span>";
    if (note.fields.expired != 0)
        return "<span class=\"state expired\">Expired</span>";
    if (NeverExpires(note.fields.expiry))
        return "<span class=\"state never\">Not expired</span>";
    return "<span class=\"state pending\">Not expired</span>";
}

std::string NoteItem(const ExportedNote& note, size_t index, const DateStyle& dates)
{
    const NoteReading& r = *note.reading;
    bool damaged = !r.problems.empty();
    // An untitled note shows "(no title)", which is no title to find by.
    bool untitled = r.title.empty();
    std::string item = "<li class=\"note" + std::string(damaged ? " damaged" : "") +
                       "\" id=\"note-" + std::to_string(index + 1) + "\" data-file=\"" +
                       Html(r.fileName) + "\" data-name=\"" + Html(note.name) + "\">";
    item += untitled ? std::string("<h2 class=\"untitled\">(no title)</h2>") : "<h2>" + Html(r.title) + "</h2>";
    item += "<p class=\"expiry\">";
    if (r.fields.extent >= formats::NoteExtent::Expiry) {
        std::string iso = IsoTime(r.fields.expiry);
        std::string words = ExpiryWords(r.fields.expiry, dates);
        if (iso.empty())
            item += "<span class=\"when\">" + Html(words) + "</span>";
        else
            item += "<time class=\"when\" datetime=\"" + iso + "\">" + Html(words) + "</time> <span class=\"iso\">(" + iso + ")</span>";
    } else {
        item += "<span class=\"when\">No expiry could be read</span>";
    }
    item += " " + State(r) + "</p>";
    if (damaged) {
        item += "<div class=\"damage\"><strong>This note is damaged.</strong> What could be read is shown.<ul>";
        for (const std::string& problem : r.problems)
            item += "<li>" + Html(problem) + "</li>";
        item += "</ul></div>";
    }
    item += "<figure>" + note.svg.substr(note.svg.find("<svg")) + "</figure>";
    if (note.hasText)
        item += "<pre class=\"text\">" + Html(Utf8FromUtf16(r.content.text)) + "</pre>";
    for (size_t i = 0; i < note.waveFiles.size(); ++i)
        item += Recording(note, i);
    item += "<p class=\"files\">" + Html(r.fileName) + " &#8594; " + Html(note.name) + ".svg";
    if (note.hasText)
        item += ", " + Html(note.name) + ".txt";
    item += "</p></li>\n";
    return item;
}

}  // namespace

std::string FindScript()
{
    std::string letters = "{";
    for (size_t i = 0; i < formats::kFindLetterCount; ++i) {
        char escaped[16];
        snprintf(escaped, sizeof escaped, "\"\\u%04x\": ", unsigned(formats::kFindLetters[i].letter));
        letters += (i > 0 ? ", " : "") + std::string(escaped) + "\"" + formats::kFindLetters[i].spelling + "\"";
    }
    letters += "}";
    return kFindScriptHead + letters + kFindScriptBody;
}

std::string BuildIndexHtml(const std::vector<ExportedNote>& notes, const DateStyle& dates,
                           const std::string& folderLabel)
{
    // The page's own script runs by its hash: nothing that a note's text
    // might smuggle in as a script would.
    std::string script = FindScript();
    std::array<uint8_t, 32> digest = Sha256(script);
    std::string hash = Base64(std::vector<uint8_t>(digest.begin(), digest.end()));
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
        "style-src 'unsafe-inline'; img-src data:; media-src data:; script-src 'sha256-" + hash + "'\">"
        "<meta name=\"viewport\" content=\"width=device-width\">"
        "<title>Jotlings</title><style>";
    page += kStyle;
    page += "</style></head><body><header><h1>Jotlings</h1><p>" +
            std::to_string(notes.size()) + (notes.size() == 1 ? " note" : " notes") +
            " from " + Html(folderLabel) + ", sorted by time as the list sorts them</p>"
            "<p class=\"find\"><input type=\"search\" id=\"find\" placeholder=\"Find: words of a title or a text\" "
            "autocomplete=\"off\" aria-label=\"Find\"><span id=\"find-count\"></span></p></header>\n"
            "<ol class=\"notes\">\n";
    for (size_t i = 0; i < notes.size(); ++i)
        page += NoteItem(notes[i], i, dates);
    page += "</ol><script>" + script + "</script></body></html>\n";
    return page;
}

}  // namespace exporter
