#pragma once
#include <string>

// Text kept for display is in the system code page (GBK); text from the
// marketplace and text given to GUI widgets is UTF-8.
void UTF8ToAnsi(std::string& text);
void AnsiToUTF8(std::string& text);

// Plain text of an HTML fragment in the system code page: tags dropped, "<br>"
// kept as line breaks (at most two in a row), a fixed set of entities decoded.
std::string HtmlToText(const std::string& html);
