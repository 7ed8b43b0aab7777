#include "market/PictureRenderer.h"

#include "market/LabelFont.h"
#include "market/PictureCanvas.h"

#include <algorithm>

namespace market {

namespace {

const uint32_t kWhite = 0xffffff;
const uint32_t kInk = 0x333333;

// The product stands in a box of this size, centred a little above the middle.
struct Stage {
    double x, y, w, h;
    double left(double f) const { return x + w * f; }
    double top(double f) const { return y + h * f; }
};

}

std::string PictureRenderer::render(const PictureSpec& spec)
{
    PictureCanvas canvas(spec.width, spec.height);
    canvas.verticalGradient(PictureCanvas::mix(spec.colour, kWhite, 0.88), PictureCanvas::mix(spec.colour, kWhite, 0.6));
    drawShape(canvas, spec);
    drawTexts(canvas, spec);
    return canvas.toJpeg(85);
}

void PictureRenderer::drawShape(PictureCanvas& c, const PictureSpec& spec)
{
    double side = std::min(c.width(), c.height()) * 0.62;
    Stage s{(c.width() - side) / 2, (c.height() - side) / 2 - c.height() * 0.06, side, side};
    uint32_t body = spec.colour, dark = PictureCanvas::mix(spec.colour, 0x000000, 0.35);
    uint32_t light = PictureCanvas::mix(spec.colour, kWhite, 0.45);
    c.fillEllipse(s.left(0.5), s.top(1.02), s.w * 0.42, s.h * 0.06, 0x000000, 50);
    switch (spec.shape) {
    case PictureSpec::Shape::Device:
        c.fillRoundedRect(s.left(0.25), s.top(0), s.left(0.75), s.top(1), s.w * 0.06, dark);
        c.fillRoundedRect(s.left(0.27), s.top(0.02), s.left(0.73), s.top(0.98), s.w * 0.05, body);
        c.fillRect(s.left(0.29), s.top(0.08), s.left(0.71), s.top(0.86), 0x10202c);
        c.fillRect(s.left(0.29), s.top(0.08), s.left(0.71), s.top(0.3), light, 90);
        c.fillEllipse(s.left(0.5), s.top(0.92), s.w * 0.03, s.w * 0.03, light);
        break;
    case PictureSpec::Shape::Shirt:
        c.fillRoundedRect(s.left(0.22), s.top(0.12), s.left(0.78), s.top(1), s.w * 0.04, body);
        c.fillRoundedRect(s.left(0.02), s.top(0.12), s.left(0.3), s.top(0.45), s.w * 0.05, body);
        c.fillRoundedRect(s.left(0.7), s.top(0.12), s.left(0.98), s.top(0.45), s.w * 0.05, body);
        c.fillEllipse(s.left(0.5), s.top(0.12), s.w * 0.12, s.h * 0.07, PictureCanvas::mix(body, kWhite, 0.8));
        c.fillRect(s.left(0.22), s.top(0.12), s.left(0.3), s.top(1), dark, 60);
        break;
    case PictureSpec::Shape::Bag:
        c.fillEllipse(s.left(0.5), s.top(0.28), s.w * 0.22, s.h * 0.22, dark);
        c.fillEllipse(s.left(0.5), s.top(0.28), s.w * 0.17, s.h * 0.17, PictureCanvas::mix(body, kWhite, 0.85));
        c.fillRoundedRect(s.left(0.1), s.top(0.3), s.left(0.9), s.top(1), s.w * 0.08, body);
        c.fillRect(s.left(0.1), s.top(0.45), s.left(0.9), s.top(0.5), dark, 120);
        c.fillRoundedRect(s.left(0.44), s.top(0.42), s.left(0.56), s.top(0.55), s.w * 0.02, 0xd4a437);
        break;
    case PictureSpec::Shape::Box:
        c.fillRect(s.left(0.1), s.top(0.25), s.left(0.9), s.top(1), body);
        c.fillRect(s.left(0.1), s.top(0.15), s.left(0.9), s.top(0.3), light);
        c.fillRect(s.left(0.45), s.top(0.15), s.left(0.55), s.top(1), kWhite, 150);
        c.fillRect(s.left(0.1), s.top(0.3), s.left(0.9), s.top(0.34), dark, 90);
        break;
    case PictureSpec::Shape::Bottle:
        c.fillRoundedRect(s.left(0.42), s.top(0), s.left(0.58), s.top(0.15), s.w * 0.02, dark);
        c.fillRoundedRect(s.left(0.38), s.top(0.12), s.left(0.62), s.top(0.3), s.w * 0.04, body);
        c.fillRoundedRect(s.left(0.26), s.top(0.25), s.left(0.74), s.top(1), s.w * 0.12, body);
        c.fillRoundedRect(s.left(0.3), s.top(0.5), s.left(0.7), s.top(0.8), s.w * 0.03, kWhite, 200);
        c.fillRect(s.left(0.31), s.top(0.3), s.left(0.36), s.top(0.95), kWhite, 70);
        break;
    case PictureSpec::Shape::Ball:
        c.fillEllipse(s.left(0.5), s.top(0.55), s.w * 0.42, s.h * 0.42, body);
        c.fillEllipse(s.left(0.5), s.top(0.55), s.w * 0.42, s.h * 0.08, kWhite, 150);
        c.fillEllipse(s.left(0.36), s.top(0.38), s.w * 0.1, s.h * 0.07, kWhite, 120);
        break;
    case PictureSpec::Shape::Badge: {
        c.fillEllipse(s.left(0.5), s.top(0.5), s.w * 0.48, s.h * 0.48, dark);
        c.fillEllipse(s.left(0.5), s.top(0.5), s.w * 0.42, s.h * 0.42, body);
        int size = int(s.w * 0.5);
        LabelFont& font = LabelFont::instance();
        font.draw(c, spec.emblem, int(s.left(0.5)) - font.measure(spec.emblem, size) / 2, int(s.top(0.5) + size * 0.36),
                  size, kWhite);
        break;
    }
    }
}

void PictureRenderer::drawTexts(PictureCanvas& c, const PictureSpec& spec)
{
    LabelFont& font = LabelFont::instance();
    if (!font.available())
        return;
    int size = std::max(10, std::min(c.width(), c.height()) / 9);
    int width = font.measure(spec.label, size);
    while (width > c.width() * 9 / 10 && size > 8)
        width = font.measure(spec.label, --size);
    int bandTop = c.height() - size * 2;
    c.fillRect(0, bandTop, c.width(), c.height(), kWhite, 200);
    font.draw(c, spec.label, (c.width() - width) / 2, bandTop + size * 3 / 2 - size / 8, size, kInk);
    if (!spec.caption.empty()) {
        int captionSize = std::max(8, size * 2 / 3);
        font.draw(c, spec.caption, captionSize / 2, captionSize * 3 / 2, captionSize,
                  PictureCanvas::mix(spec.colour, 0x000000, 0.5));
    }
}

}
