#pragma once
#include <string>

// The program's "ANSI" code page is GBK (CP936) whatever the locale, so the
// byte rules of its text (two-byte characters from 0xA1 up, the GBK entity
// outputs, the recommendation package) hold on every machine.
// Conversions never fail: what the target cannot hold becomes "?".
class CodePage
{
public:
    static std::string Utf8ToGbk(const std::string& utf8);
    static std::string GbkToUtf8(const std::string& gbk);
};
