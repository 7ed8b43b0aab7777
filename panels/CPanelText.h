#pragma once
#include <string>

// Copies of text in the other code page: the model keeps the system code
// page, the widgets take UTF-8.
class CPanelText
{
public:
    static std::string Utf8(const std::string& ansi);
    static std::string Ansi(const std::string& utf8);
};
