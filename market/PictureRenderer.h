#pragma once

#include <cstdint>
#include <string>

namespace market {

class PictureCanvas;

// What a generated picture shows: a product-like illustration in a colour,
// with a label band and a small caption.
struct PictureSpec {
    enum class Shape { Device, Shirt, Bag, Box, Bottle, Ball, Badge };

    int width = 600;
    int height = 600;
    Shape shape = Shape::Box;
    uint32_t colour = 0x2a62c9;
    std::string label;     // the big text at the bottom
    std::string caption;   // the small text at the top left
    std::string emblem;    // a large character inside a badge
};

// Draws picture specs into JPEGs; deterministic, so a picture drawn again
// after its cache is emptied is the same picture.
class PictureRenderer {
public:
    static std::string render(const PictureSpec& spec);

private:
    static void drawShape(PictureCanvas& canvas, const PictureSpec& spec);
    static void drawTexts(PictureCanvas& canvas, const PictureSpec& spec);
};

}
