#include "panels/CPanelText.h"

#include "taobao/TaobaoText.h"

std::string CPanelText::Utf8(const std::string& ansi)
{
    std::string text = ansi;
    AnsiToUTF8(text);
    return text;
}

std::string CPanelText::Ansi(const std::string& utf8)
{
    std::string text = utf8;
    UTF8ToAnsi(text);
    return text;
}
