#pragma once
#include <string>
#include <vector>

class Canvas;

// Card text is kept in the system code page (GBK), as the records hold it;
// the canvas draws UTF-8. These helpers measure, draw and wrap GBK text with
// the canvas's selected font.
class CCardText
{
public:
    // A literal of the source (UTF-8) in the system code page.
    static std::string Ansi(const char* utf8);

    static int Measure(const Canvas& canvas, const std::string& gbk);
    static void Draw(Canvas& canvas, int x, int y, const std::string& gbk);
    // Draws one line that ends within width at a whole character, with an
    // ellipsis where it had to be shortened and there is room for one.
    static void DrawFitted(Canvas& canvas, int x, int y, int width, const std::string& gbk);
    static std::string FitWidth(const Canvas& canvas, int width, const std::string& gbk);

    // The characters of GBK text: a lead byte (0x81 or more) and the byte
    // after it form one character, any other byte is one by itself. A lead
    // byte at the very end stands alone.
    static std::vector<std::string> SplitCharacters(const std::string& gbk);

    // Draws text line by line at x = 0 from y = startY inside a box width x
    // height, breaking where the next character would overflow the width.
    // The line step is 1.15 line heights; lines that would not fit in the
    // box are cut off without a mark.
    static void WrapText(Canvas& canvas, int width, int height, int startY, const std::string& gbk);
};
