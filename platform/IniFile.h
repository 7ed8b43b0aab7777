#pragma once
#include <string>
#include <vector>

// A file in the Windows profile (INI) format: "[Section]" lines and
// "Key=Value" lines, names compared without regard to case. The file is read
// once, when the object is made; a missing file gives defaults. Set changes
// the text in memory and Save writes it whole, keeping every other line of
// the file as it was.
class IniFile
{
public:
    explicit IniFile(std::string path);

    // The value as a decimal integer (leading digits, optional sign), or def
    // when the key is absent or does not start with a number.
    long long GetInt(const std::string& section, const std::string& key, long long def) const;
    std::string GetString(const std::string& section, const std::string& key, const std::string& def) const;
    // Sets the value, creating section and key as needed.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // Replaces the file with the text as it is now; the old file stays whole
    // when that fails, and error says why.
    bool Save(std::string& error) const;

private:
    std::string m_path;
    std::vector<std::string> m_lines;
};
