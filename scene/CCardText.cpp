#include "scene/CCardText.h"

#include "platform/Canvas.h"
#include "platform/CodePage.h"

namespace {

std::string Join(const std::vector<std::string>& characters, size_t first, size_t last)
{
    std::string text;
    for (size_t i = first; i < last; ++i)
        text += characters[i];
    return text;
}

bool IsLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte != 0xFF;
}

}

std::string CCardText::Ansi(const char* utf8)
{
    return CodePage::Utf8ToGbk(utf8);
}

int CCardText::Measure(const Canvas& canvas, const std::string& gbk)
{
    return canvas.MeasureText(CodePage::GbkToUtf8(gbk));
}

void CCardText::Draw(Canvas& canvas, int x, int y, const std::string& gbk)
{
    canvas.DrawText(x, y, CodePage::GbkToUtf8(gbk));
}

void CCardText::DrawFitted(Canvas& canvas, int x, int y, int width, const std::string& gbk)
{
    Draw(canvas, x, y, FitWidth(canvas, width, gbk));
}

std::string CCardText::FitWidth(const Canvas& canvas, int width, const std::string& gbk)
{
    if (Measure(canvas, gbk) <= width)
        return gbk;
    const std::string ellipsis = Ansi("…");
    const int roomBeforeEllipsis = width - Measure(canvas, ellipsis);
    const int limit = roomBeforeEllipsis > 0 ? roomBeforeEllipsis : width;
    std::string line;
    for (const std::string& character : SplitCharacters(gbk)) {
        if (Measure(canvas, line + character) > limit)
            break;
        line += character;
    }
    return roomBeforeEllipsis > 0 ? line + ellipsis : line;
}

std::vector<std::string> CCardText::SplitCharacters(const std::string& gbk)
{
    std::vector<std::string> characters;
    for (size_t i = 0; i < gbk.size();) {
        const size_t length = IsLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size() ? 2 : 1;
        characters.push_back(gbk.substr(i, length));
        i += length;
    }
    return characters;
}

void CCardText::WrapText(Canvas& canvas, int width, int height, int startY, const std::string& gbk)
{
    const Font* font = canvas.SelectedFont();
    if (!font)
        return;
    const int step = static_cast<int>(font->LineHeight() * 1.15);
    const std::vector<std::string> characters = SplitCharacters(gbk);
    const auto fits = [&](int y) { return (y - startY) + step <= height; };
    int y = startY;
    size_t lineStart = 0;
    int lineWidth = 0;
    size_t i = 0;
    for (; i < characters.size() && fits(y); ++i) {
        const int characterWidth = Measure(canvas, characters[i]);
        if (lineWidth + characterWidth > width) {
            Draw(canvas, 0, y, Join(characters, lineStart, i));
            lineStart = i;
            lineWidth = characterWidth;
            y += step;
        } else {
            lineWidth += characterWidth;
        }
    }
    if (fits(y))
        Draw(canvas, 0, y, Join(characters, lineStart, i));
}
