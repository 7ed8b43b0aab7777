#pragma once
#include <string>
#include <vector>

// A file in the Windows profile (INI) format: "[Section]" lines and
// "Key=Value" lines, names compared without regard to case. Reading a missing
// file gives defaults; writing keeps every other line of the file as it was.
class IniFile
{
public:
    explicit IniFile(std::string path);

    // The value as a decimal integer (leading digits, optional sign), or def
    // when the key is absent or does not start with a number.
    long long GetInt(const std::string& section, const std::string& key, long long def) const;
    std::string GetString(const std::string& section, const std::string& key, const std::string& def) const;
    // Sets the value in the file at once, creating section and key as needed.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);

private:
    std::vector<std::string> ReadLines() const;
    bool WriteLines(const std::vector<std::string>& lines) const;

    std::string m_path;
};
