#include "platform/HtmlContainer.h"

#include "platform/Font.h"
#include "platform/FontLibrary.h"
#include "platform/HtmlLayoutBudget.h"
#include "platform/HtmlResourceFetcher.h"
#include "platform/HtmlResourceLoader.h"
#include "platform/HtmlRootElement.h"
#include "platform/HtmlTableCell.h"

#include <Poco/String.h>
#include <Poco/UTF8String.h>

#include <algorithm>

namespace {

// The page's default face: what the classic browser used for Chinese pages.
const char kDefaultFontName[] = "宋体";

// The first family of a CSS font-family list, without quotes.
std::string FirstFamily(const char* faceName)
{
    std::string list = faceName ? faceName : "";
    std::string family = Poco::trim(list.substr(0, list.find(',')));
    family.erase(std::remove(family.begin(), family.end(), '"'), family.end());
    family.erase(std::remove(family.begin(), family.end(), '\''), family.end());
    return family.empty() ? kDefaultFontName : family;
}

bool IsDrawn(const litehtml::border& border)
{
    return border.width > 0 && border.style != litehtml::border_style_none &&
           border.style != litehtml::border_style_hidden;
}

}

HtmlContainer::HtmlContainer(HtmlResourceFetcher& resources) : m_resources(resources) {}

HtmlContainer::~HtmlContainer() = default;

void HtmlContainer::SetViewport(int width, int height)
{
    m_width = width;
    m_height = height;
}

std::vector<std::string> HtmlContainer::TakeClickedLinks()
{
    return std::move(m_clickedLinks);
}

HtmlPainter& HtmlContainer::PainterOf(litehtml::uint_ptr hdc)
{
    return *reinterpret_cast<HtmlPainter*>(hdc);
}

uint32_t HtmlContainer::Argb(const litehtml::web_color& color)
{
    return (uint32_t(color.alpha) << 24) | (uint32_t(color.red) << 16) | (uint32_t(color.green) << 8) | color.blue;
}

HtmlPainter::Rect HtmlContainer::RectOf(const litehtml::position& pos)
{
    return {pos.x, pos.y, pos.width, pos.height};
}

litehtml::uint_ptr HtmlContainer::create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                              litehtml::font_style, unsigned int decoration,
                                              litehtml::font_metrics* fm)
{
    auto pageFont = std::make_unique<PageFont>();
    pageFont->size = std::clamp(size, kMinFontSize, kMaxFontSize);
    pageFont->decoration = decoration;
    pageFont->font = FontLibrary::Instance().GetFont(FirstFamily(faceName), pageFont->size,
                                                     std::clamp(weight, 100, 900), FontSizeKind::EmHeight);
    if (fm) {
        const Font* font = pageFont->font.get();
        fm->ascent = font ? font->Ascent() : pageFont->size;
        fm->descent = font ? font->Descent() : 0;
        fm->height = font ? font->Height() : pageFont->size;
        fm->x_height = pageFont->size / 2;
        fm->draw_spaces = decoration != litehtml::font_decoration_none;
    }
    const auto handle = reinterpret_cast<litehtml::uint_ptr>(pageFont.get());
    m_fonts[handle] = std::move(pageFont);
    return handle;
}

void HtmlContainer::delete_font(litehtml::uint_ptr hFont)
{
    m_fonts.erase(hFont);
}

int HtmlContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont)
{
    HtmlLayoutBudget::CheckCurrent();
    auto found = m_fonts.find(hFont);
    if (found == m_fonts.end() || !found->second->font || !text)
        return 0;
    return found->second->font->MeasureText(text);
}

void HtmlContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                              litehtml::web_color color, const litehtml::position& pos)
{
    HtmlLayoutBudget::CheckCurrent();
    auto found = m_fonts.find(hFont);
    if (found == m_fonts.end() || !found->second->font || !text)
        return;
    HtmlPainter& painter = PainterOf(hdc);
    const PageFont& pageFont = *found->second;
    const HtmlPainter::Rect clip = painter.Clip();
    const TextClip textClip{clip.x, clip.y, static_cast<int>(clip.Right()), static_cast<int>(clip.Bottom())};
    const int top = pos.bottom() - pageFont.font->Height();
    pageFont.font->DrawText(painter.Target(), pos.x, top, text, Argb(color) & 0xFFFFFF, textClip);
    if (pageFont.decoration != litehtml::font_decoration_none)
        DrawDecorations(painter, pageFont, pos, pageFont.font->MeasureText(text), Argb(color));
}

void HtmlContainer::DrawDecorations(HtmlPainter& painter, const PageFont& font, const litehtml::position& pos,
                                    int textWidth, uint32_t argb)
{
    const int thickness = std::max(1, font.size / 14);
    const int baseline = pos.bottom() - font.font->Descent();
    if (font.decoration & litehtml::font_decoration_underline)
        painter.FillRect({pos.x, baseline + 1, textWidth, thickness}, argb);
    if (font.decoration & litehtml::font_decoration_linethrough)
        painter.FillRect({pos.x, baseline - font.size / 3, textWidth, thickness}, argb);
    if (font.decoration & litehtml::font_decoration_overline)
        painter.FillRect({pos.x, baseline - font.font->Ascent(), textWidth, thickness}, argb);
}

int HtmlContainer::pt_to_px(int pt) const
{
    return pt * 96 / 72;
}

int HtmlContainer::get_default_font_size() const
{
    return kDefaultFontSize;
}

const litehtml::tchar_t* HtmlContainer::get_default_font_name() const
{
    return kDefaultFontName;
}

void HtmlContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker)
{
    HtmlPainter& painter = PainterOf(hdc);
    const HtmlPainter::Rect box = RectOf(marker.pos);
    if (!marker.image.empty()) {
        if (auto picture = PictureOf(marker.image.c_str()))
            painter.DrawPicture(*picture, box);
        return;
    }
    const uint32_t argb = Argb(marker.color);
    if (marker.marker_type == litehtml::list_style_type_square)
        painter.FillRect(box, argb);
    else if (marker.marker_type != litehtml::list_style_type_none)
        painter.FillEllipse(box, argb);
}

Poco::SharedPtr<PixelImage> HtmlContainer::PictureOf(const litehtml::tchar_t* src) const
{
    const std::string url = HtmlResourceLoader::Resolve(src ? src : "");
    if (url.empty())
        return nullptr;
    Poco::SharedPtr<PixelImage> picture = m_resources.FindPicture(url);
    return picture && !picture->IsEmpty() ? picture : nullptr;
}

void HtmlContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t*, bool)
{
    const std::string url = HtmlResourceLoader::Resolve(src ? src : "");
    if (url.empty() || m_requestedPictures.size() >= static_cast<size_t>(kMaxPictures))
        return;
    if (m_requestedPictures.insert(url).second)
        m_resources.Request(HtmlResourceFetcher::Kind::Picture, url);
}

void HtmlContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t*, litehtml::size& sz)
{
    auto picture = PictureOf(src);
    sz.width = picture ? picture->Width() : 0;
    sz.height = picture ? picture->Height() : 0;
}

void HtmlContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg)
{
    HtmlPainter& painter = PainterOf(hdc);
    painter.PushClip(RectOf(bg.clip_box));
    if (bg.color.alpha > 0)
        painter.FillRect(RectOf(bg.clip_box), Argb(bg.color));
    if (!bg.image.empty()) {
        if (auto picture = PictureOf(bg.image.c_str()))
            DrawTiles(painter, *picture, bg);
    }
    painter.PopClip();
}

// Places the picture at its position and repeats it along the axes the
// background repeats on, only where the tiles can be seen.
void HtmlContainer::DrawTiles(HtmlPainter& painter, const PixelImage& picture, const litehtml::background_paint& bg)
{
    const int tileW = bg.image_size.width > 0 ? bg.image_size.width : picture.Width();
    const int tileH = bg.image_size.height > 0 ? bg.image_size.height : picture.Height();
    const HtmlPainter::Rect visible = painter.Clip();
    if (visible.IsEmpty() || tileW <= 0 || tileH <= 0)
        return;
    const bool repeatX = bg.repeat == litehtml::background_repeat_repeat ||
                         bg.repeat == litehtml::background_repeat_repeat_x;
    const bool repeatY = bg.repeat == litehtml::background_repeat_repeat ||
                         bg.repeat == litehtml::background_repeat_repeat_y;
    auto firstTile = [](int origin, int start, int tile) {
        const int64_t offset = int64_t(start) - origin;
        const int64_t steps = offset >= 0 ? offset / tile : -((-offset + tile - 1) / tile);
        return static_cast<int>(origin + steps * tile);
    };
    const int startX = repeatX ? firstTile(bg.position_x, visible.x, tileW) : bg.position_x;
    const int startY = repeatY ? firstTile(bg.position_y, visible.y, tileH) : bg.position_y;
    const int64_t endX = repeatX ? visible.Right() : int64_t(startX) + 1;
    const int64_t endY = repeatY ? visible.Bottom() : int64_t(startY) + 1;
    for (int64_t y = startY; y < endY; y += tileH)
        for (int64_t x = startX; x < endX; x += tileW)
            painter.DrawPicture(picture, {static_cast<int>(x), static_cast<int>(y), tileW, tileH});
}

void HtmlContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                 const litehtml::position& draw_pos, bool)
{
    HtmlPainter& painter = PainterOf(hdc);
    const HtmlPainter::Rect box = RectOf(draw_pos);
    DrawBorder(painter, borders.top, {box.x, box.y, box.width, borders.top.width});
    DrawBorder(painter, borders.bottom,
               {box.x, static_cast<int>(box.Bottom() - borders.bottom.width), box.width, borders.bottom.width});
    DrawBorder(painter, borders.left, {box.x, box.y, borders.left.width, box.height});
    DrawBorder(painter, borders.right,
               {static_cast<int>(box.Right() - borders.right.width), box.y, borders.right.width, box.height});
}

void HtmlContainer::DrawBorder(HtmlPainter& painter, const litehtml::border& border, const HtmlPainter::Rect& rect)
{
    if (IsDrawn(border))
        painter.FillRect(rect, Argb(border.color));
}

void HtmlContainer::set_caption(const litehtml::tchar_t*) {}

void HtmlContainer::set_base_url(const litehtml::tchar_t*) {}

void HtmlContainer::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

void HtmlContainer::on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr&)
{
    const std::string target = HtmlResourceLoader::Resolve(url ? url : "");
    if (!target.empty())
        m_clickedLinks.push_back(target);
}

// The GUI draws one pointer for the whole window; it keeps its shape.
void HtmlContainer::set_cursor(const litehtml::tchar_t*) {}

void HtmlContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt)
{
    if (tt == litehtml::text_transform_uppercase)
        Poco::UTF8::toUpperInPlace(text);
    else if (tt == litehtml::text_transform_lowercase)
        Poco::UTF8::toLowerInPlace(text);
    else if (tt == litehtml::text_transform_capitalize && !text.empty() && static_cast<unsigned char>(text[0]) < 0x80)
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

// A style sheet is never waited for: the page is shown without it and made
// again once it has arrived.
void HtmlContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring&)
{
    const std::string address = HtmlResourceLoader::Resolve(url);
    if (address.empty())
        return;
    if (m_styleSheets.count(address) == 0) {
        if (m_styleSheets.size() >= static_cast<size_t>(kMaxStyleSheets))
            return;
        m_styleSheets.insert(address);
    }
    if (auto sheet = m_resources.FindStyleSheet(address)) {
        text = *sheet;
        return;
    }
    m_awaitedStyleSheets.insert(address);
    m_resources.Request(HtmlResourceFetcher::Kind::StyleSheet, address);
}

bool HtmlContainer::HasNewStyleSheets()
{
    return std::any_of(m_awaitedStyleSheets.begin(), m_awaitedStyleSheets.end(),
                       [this](const std::string& url) { return !m_resources.FindStyleSheet(url).isNull(); });
}

void HtmlContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool valid_x,
                             bool valid_y)
{
    HtmlPainter::Rect rect = RectOf(pos);
    if (!valid_x) {
        rect.x = 0;
        rect.width = m_width;
    }
    if (!valid_y) {
        rect.y = 0;
        rect.height = m_height;
    }
    if (m_clipPainter)
        m_clipPainter->PushClip(rect);
}

void HtmlContainer::del_clip()
{
    if (m_clipPainter)
        m_clipPainter->PopClip();
}

void HtmlContainer::get_client_rect(litehtml::position& client) const
{
    client = litehtml::position(0, 0, m_width, m_height);
}

std::shared_ptr<litehtml::element> HtmlContainer::create_element(const litehtml::tchar_t* tag_name,
                                                                 const litehtml::string_map&,
                                                                 const std::shared_ptr<litehtml::document>& doc)
{
    if (!tag_name)
        return nullptr;
    if (!litehtml::t_strcasecmp(tag_name, "td") || !litehtml::t_strcasecmp(tag_name, "th"))
        return std::make_shared<HtmlTableCell>(doc);
    if (!litehtml::t_strcasecmp(tag_name, "html"))
        return std::make_shared<HtmlRootElement>(doc);
    return nullptr;
}

void HtmlContainer::get_media_features(litehtml::media_features& media) const
{
    media.type = litehtml::media_type_screen;
    media.width = m_width;
    media.height = m_height;
    media.device_width = m_width;
    media.device_height = m_height;
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
}

void HtmlContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const
{
    language = "zh";
    culture = "zh-CN";
}
