#include "desktop/export/DeviceSettings.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace exporter {

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Lower(std::string s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// "dword:00000003" or "\"1\"" as a number; false for anything else.
bool AsNumber(const std::string& raw, int* number)
{
    char* end = nullptr;
    if (raw.compare(0, 6, "dword:") == 0) {
        unsigned long v = strtoul(raw.c_str() + 6, &end, 16);
        *number = static_cast<int>(v);
        return end != raw.c_str() + 6;
    }
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') {
        std::string inner = raw.substr(1, raw.size() - 2);
        long v = strtol(inner.c_str(), &end, 10);
        *number = static_cast<int>(v);
        return !inner.empty() && *end == '\0';
    }
    return false;
}

}  // namespace

bool FindRegistryValue(const std::string& regText, const std::string& key, const std::string& value,
                       std::string* found)
{
    // Key names are case-insensitive and written with doubled backslashes.
    std::string section;
    for (char c : key) {
        section += c;
        if (c == '\\')
            section += '\\';
    }
    section = "[" + Lower(section) + "]";
    std::string wanted = "\"" + Lower(value) + "\"=";
    std::istringstream lines(regText);
    std::string line;
    bool inside = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            std::string head = Lower(line.substr(0, line.find(']') + 1));
            inside = head == section;
            continue;
        }
        if (inside && Lower(line.substr(0, wanted.size())) == wanted) {
            *found = line.substr(wanted.size());
            // Long hex values go on over lines that end in a backslash.
            while (!found->empty() && found->back() == '\\' && std::getline(lines, line)) {
                found->pop_back();
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                size_t text = line.find_first_not_of(' ');
                if (text != std::string::npos)
                    *found += line.substr(text);
            }
            return true;
        }
    }
    return false;
}

DeviceSettings ReadDeviceSettings(const std::string& prefix)
{
    DeviceSettings settings;
    std::string system = ReadText(prefix + "/system.reg");
    std::string user = ReadText(prefix + "/user.reg");
    std::string raw;
    int number = 0;
    settings.zone = DeviceTimeZone::FromRegistry(system);
    if (FindRegistryValue(system, "Software\\KORVA\\Jotlings", "Page", &raw) && AsNumber(raw, &number))
        settings.pageSetting = number;
    if (FindRegistryValue(user, "Control Panel\\International", "iDate", &raw) && AsNumber(raw, &number))
        settings.dates.dateOrder = number;
    if (FindRegistryValue(user, "Control Panel\\International", "iTime", &raw) && AsNumber(raw, &number))
        settings.dates.clock24 = number != 0;
    return settings;
}

}  // namespace exporter
