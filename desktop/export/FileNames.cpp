#include "desktop/export/FileNames.h"

#include "desktop/export/Markup.h"

#include <locale.h>
#include <stdint.h>
#include <string.h>
#include <wctype.h>

namespace exporter {

namespace {

const size_t kMaxNameBytes = 64;

std::string LowerAscii(std::string s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

bool IsDeviceName(const std::string& name)
{
    std::string stem = LowerAscii(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    static const char* const kNames[] = {"con", "prn", "aux", "nul"};
    for (const char* n : kNames) {
        if (stem == n)
            return true;
    }
    return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

// Length of the UTF-8 sequence that starts with lead, 0 for a byte that
// starts none.
size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The C library's Unicode case mapping, whatever locale the program runs in.
locale_t UnicodeLocale()
{
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

uint32_t Upper(uint32_t c)
{
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 'A';
    locale_t locale = UnicodeLocale();
    if (c < 0x80 || locale == static_cast<locale_t>(0))
        return c;
    return static_cast<uint32_t>(towupper_l(static_cast<wint_t>(c), locale));
}

}  // namespace

std::string CaseFolded(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        size_t length = SequenceLength(lead);
        bool whole = length != 0 && i + length <= utf8.size();
        for (size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
        if (!whole) {
            out += utf8[i++];
            continue;
        }
        uint32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        AppendUtf8(out, Upper(c));
        i += length;
    }
    return out;
}

std::string SafeFileName(const std::string& title, const std::string& fallback)
{
    std::string name;
    for (size_t i = 0; i < title.size();) {
        unsigned char c = static_cast<unsigned char>(title[i]);
        size_t length = SequenceLength(c);
        if (length == 0 || i + length > title.size()) {
            ++i;
            continue;
        }
        if (name.size() + length > kMaxNameBytes)
            break;
        if (length == 1 && (c < 0x20 || c == 0x7F || strchr("<>:\"/\\|?*", c) != nullptr))
            name += '_';
        else
            name.append(title, i, length);
        i += length;
    }
    size_t begin = name.find_first_not_of(". ");
    name = begin == std::string::npos ? std::string() : name.substr(begin);
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    if (name.empty())
        return fallback;
    if (IsDeviceName(name))
        name = "_" + name;
    return name;
}

std::string NameSet::Claim(const std::string& name)
{
    std::string claimed = name;
    for (int n = 2; !taken_.insert(CaseFolded(claimed)).second; ++n)
        claimed = name + " (" + std::to_string(n) + ")";
    return claimed;
}

}  // namespace exporter
