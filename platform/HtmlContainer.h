#pragma once
#include "platform/HtmlPainter.h"

#include <Poco/SharedPtr.h>

#include <litehtml.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class Font;
class HtmlResourceFetcher;

// What the layout engine asks of the program while it lays out and draws one
// product page: fonts and text from the program's font library, boxes,
// borders and pictures drawn by an HtmlPainter (passed as the engine's
// drawing handle), pictures and style sheets fetched in the background within caps,
// and the links the user clicked. Script never runs: the engine has none.
class HtmlContainer : public litehtml::document_container
{
public:
    static constexpr int kDefaultFontSize = 14;
    static constexpr int kMinFontSize = 6;
    static constexpr int kMaxFontSize = 160;
    static constexpr int kMaxPictures = 64;
    static constexpr int kMaxStyleSheets = 4;

    explicit HtmlContainer(HtmlResourceFetcher& resources);
    ~HtmlContainer();

    void SetViewport(int width, int height);
    // The painter clip rectangles go to while the page draws; null after.
    void SetClipPainter(HtmlPainter* painter) { m_clipPainter = painter; }
    // The links clicked since the last call, oldest first.
    std::vector<std::string> TakeClickedLinks();
    // Called before the document is made again from the page's text.
    void BeginDocument() { m_awaitedStyleSheets.clear(); }
    // Whether a style sheet the document was made without has arrived since.
    bool HasNewStyleSheets();

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr hFont) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const litehtml::tchar_t* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& draw_pos,
                      bool root) override;
    void set_caption(const litehtml::tchar_t* caption) override;
    void set_base_url(const litehtml::tchar_t* base_url) override;
    void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) override;
    void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
    void set_cursor(const litehtml::tchar_t* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius, bool valid_x,
                  bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t* tag_name,
                                                      const litehtml::string_map& attributes,
                                                      const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
    struct PageFont
    {
        std::shared_ptr<Font> font;
        unsigned int decoration = 0;
        int size = 0;
    };

    static HtmlPainter& PainterOf(litehtml::uint_ptr hdc);
    static uint32_t Argb(const litehtml::web_color& color);
    static HtmlPainter::Rect RectOf(const litehtml::position& pos);
    // The decoded picture of a reference, or null while it is not there.
    Poco::SharedPtr<PixelImage> PictureOf(const litehtml::tchar_t* src) const;
    void DrawDecorations(HtmlPainter& painter, const PageFont& font, const litehtml::position& pos,
                         int textWidth, uint32_t argb);
    void DrawTiles(HtmlPainter& painter, const PixelImage& picture, const litehtml::background_paint& bg);
    void DrawBorder(HtmlPainter& painter, const litehtml::border& border, const HtmlPainter::Rect& rect);
    void DrawMarkerText(HtmlPainter& painter, const litehtml::list_marker& marker);

    HtmlResourceFetcher& m_resources;
    int m_width = 0;
    int m_height = 0;
    std::map<litehtml::uint_ptr, std::unique_ptr<PageFont>> m_fonts;
    std::set<std::string> m_requestedPictures;
    std::set<std::string> m_styleSheets;
    std::set<std::string> m_awaitedStyleSheets;
    std::vector<std::string> m_clickedLinks;
    HtmlPainter* m_clipPainter = nullptr;
};
