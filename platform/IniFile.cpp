#include "platform/IniFile.h"

#include "platform/SafeFile.h"

#include <strings.h>

#include <cstdio>
#include <fstream>

namespace {

std::string Trim(const std::string& s)
{
    const size_t begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return "";
    const size_t end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

bool SameName(const std::string& a, const std::string& b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// The section name of a "[Name]" line, or false.
bool SectionOf(const std::string& line, std::string& name)
{
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    name = Trim(t.substr(1, t.size() - 2));
    return true;
}

// Splits "Key=Value"; false for lines without "=".
bool KeyValueOf(const std::string& line, std::string& key, std::string& value)
{
    const size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return true;
}

}

IniFile::IniFile(std::string path)
    : m_path(std::move(path))
{
    std::ifstream in(m_path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        m_lines.push_back(line);
    }
}

bool IniFile::Save(std::string& error) const
{
    std::string text;
    for (const auto& line : m_lines)
        text += line + "\r\n";
    return SafeFile::Write(m_path, text, error);
}

std::string IniFile::GetString(const std::string& section, const std::string& key, const std::string& def) const
{
    std::string current, k, v;
    for (const auto& line : m_lines) {
        if (SectionOf(line, current))
            continue;
        if (SameName(current, section) && KeyValueOf(line, k, v) && SameName(k, key))
            return v;
    }
    return def;
}

long long IniFile::GetInt(const std::string& section, const std::string& key, long long def) const
{
    const std::string value = GetString(section, key, "");
    long long number = 0;
    return sscanf(value.c_str(), "%lld", &number) == 1 ? number : def;
}

void IniFile::Set(const std::string& section, const std::string& key, const std::string& value)
{
    std::string current, k, v;
    long sectionEnd = -1;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (SectionOf(m_lines[i], current)) {
            if (SameName(current, section))
                sectionEnd = static_cast<long>(i) + 1;
            continue;
        }
        if (!SameName(current, section))
            continue;
        if (KeyValueOf(m_lines[i], k, v) && SameName(k, key)) {
            m_lines[i] = key + "=" + value;
            return;
        }
        if (!Trim(m_lines[i]).empty())
            sectionEnd = static_cast<long>(i) + 1;
    }
    if (sectionEnd < 0) {
        m_lines.push_back("[" + section + "]");
        m_lines.push_back(key + "=" + value);
    } else {
        m_lines.insert(m_lines.begin() + sectionEnd, key + "=" + value);
    }
}
