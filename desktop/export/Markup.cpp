#include "desktop/export/Markup.h"

namespace exporter {

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}


std::string Utf8FromUtf16(const uint16_t* units, size_t count)
{
    std::string out;
    out.reserve(count);
    for (size_t i = 0; i < count && units[i] != 0; ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8FromUtf16(const std::u16string& text)
{
    std::vector<uint16_t> units(text.begin(), text.end());
    return Utf8FromUtf16(units.data(), units.size());
}

namespace {

std::string CleanXml(const std::string& utf8, bool escape)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        switch (escape ? c : 0) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                break;
            // U+FFFE and U+FFFF: EF BF BE, EF BF BF.
            if (c == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBF &&
                (static_cast<unsigned char>(utf8[i + 2]) & 0xFE) == 0xBE) {
                i += 2;
                break;
            }
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

std::string EscapeXml(const std::string& utf8)
{
    return CleanXml(utf8, true);
}

std::string XmlChars(const std::string& utf8)
{
    return CleanXml(utf8, false);
}

std::string Base64(const std::vector<uint8_t>& bytes)
{
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        uint32_t v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += kDigits[(v >> 6) & 63];
        out += kDigits[v & 63];
    }
    if (i < bytes.size()) {
        uint32_t v = bytes[i] << 16 | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0);
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

}  // namespace exporter
