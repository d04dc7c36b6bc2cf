// File names for exported notes that every desktop accepts: Windows, macOS
// and Linux, on case-insensitive file systems too.
#pragma once

#include <set>
#include <string>

namespace exporter {

// A name from a title in any script: the characters Windows refuses
// (<>:"/\|?* and control characters) become '_', no leading or trailing
// dots or spaces, no device names (CON, NUL, COM1 ...), at most 64 bytes of
// UTF-8 cut between characters. fallback stands in for an empty result.
std::string SafeFileName(const std::string& utf8Title, const std::string& fallback);

// The name as a case-insensitive disk compares it: each character in upper
// case by its simple Unicode mapping, as the case tables of NTFS and exFAT
// hold it ("Ärger" and "ärger" are one name). Bytes that are no UTF-8
// stay as they are.
std::string CaseFolded(const std::string& utf8);

// Hands out names that differ from every earlier one regardless of case,
// adding " (2)", " (3)" ... to repeats.
class NameSet {
public:
    std::string Claim(const std::string& name);

private:
    std::set<std::string> taken_;  // CaseFolded
};

}  // namespace exporter
