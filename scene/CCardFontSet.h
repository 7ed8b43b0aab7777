#pragma once
#include "platform/Font.h"

#include <array>
#include <memory>

// The five fonts every card is written with, made once and shared by the
// threads that compose cards (fonts measure and draw thread-safely).
//   0: "黑体" 30, weight 700    1: "黑体" 36, 700    2: "黑体" 50, 700
//   3: "Tahoma" 50, weight 900  4: "Tahoma" 60, 900
// Heights are character-cell heights, as GDI takes a positive height.
class CCardFontSet
{
public:
    static constexpr int kFontCount = 5;

    static CCardFontSet& getInstance();

    // Null when no face could be found for that font.
    const std::shared_ptr<Font>& Get(int index) const { return m_fonts[index]; }

private:
    CCardFontSet();

    std::array<std::shared_ptr<Font>, kFontCount> m_fonts;
};
