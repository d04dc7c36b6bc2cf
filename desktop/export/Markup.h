// Text for the files the exporter writes: UTF-16 from the device to UTF-8,
// and escaped for XML and HTML, which both the SVG pages and index.html are.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace exporter {

// A lone surrogate becomes U+FFFD; the text stops at a zero unit.
// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint);
std::string Utf8FromUtf16(const uint16_t* units, size_t count);
std::string Utf8FromUtf16(const std::u16string& text);

// Escapes &, <, >, " and ', and leaves out what XML 1.0 cannot hold at all
// (control characters other than tab and line breaks, U+FFFE, U+FFFF), so
// that any title or text makes a well-formed file.
std::string EscapeXml(const std::string& utf8);
// The same text left unescaped, with only what XML cannot hold left out,
// for writers that escape themselves.
std::string XmlChars(const std::string& utf8);

std::string Base64(const std::vector<uint8_t>& bytes);

}  // namespace exporter
