#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class PixelImage;
struct FT_FaceRec_;
struct FT_LibraryRec_;

// How a font's height is meant, as in GDI: the whole character cell (ascent
// plus descent, a positive height there) or the em square (a negative one,
// and CSS font sizes).
enum class FontSizeKind { CellHeight, EmHeight };

// A font file face as fontconfig resolves it.
struct FontFaceSource
{
    std::string file;
    int index = 0;
    // The face is lighter than asked for and must be made bold by hand.
    bool embolden = false;

    bool IsValid() const { return !file.empty(); }
    bool SameFace(const FontFaceSource& other) const { return file == other.file && index == other.index; }
};

// Pixels text may touch: left/top inclusive, right/bottom exclusive.
struct TextClip
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One face at one pixel size, with GDI's text metrics, anti-aliased glyphs
// rendered by FreeType and kept in a cache, and a CJK face for the
// characters the face lacks. Measuring and drawing may run on any thread.
// Text is UTF-8; control characters take no room and draw nothing.
class Font
{
public:
    Font(FT_LibraryRec_* library, std::mutex& libraryLock, const FontFaceSource& face,
         const FontFaceSource& fallback, int height, FontSizeKind kind);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool IsValid() const { return m_face != nullptr; }

    // GDI's text metrics: cell height = ascent + descent.
    int Height() const { return m_height; }
    int Ascent() const { return m_ascent; }
    int Descent() const { return m_height - m_ascent; }
    int ExternalLeading() const { return m_externalLeading; }
    int LineHeight() const { return m_height + m_externalLeading; }

    // Width of the text in pixels: the sum of its characters' advances.
    int MeasureText(const std::string& utf8) const;

    // Draws the text with the top of its cell at (x, top), in colour rgb
    // (0xRRGGBB), blending the glyphs' coverage into the pixels inside clip.
    void DrawText(PixelImage& target, int x, int top, const std::string& utf8, uint32_t rgb,
                  const TextClip& clip) const;
    void DrawText(PixelImage& target, int x, int top, const std::string& utf8, uint32_t rgb) const;

private:
    struct Glyph
    {
        int advance = 0;
        int left = 0;  // from the pen position to the bitmap's left edge
        int top = 0;   // from the baseline up to the bitmap's top edge
        int width = 0;
        int rows = 0;
        std::vector<uint8_t> coverage;
    };

    FT_FaceRec_* OpenFace(const FontFaceSource& source) const;
    void ComputeMetrics(int height, FontSizeKind kind);
    const Glyph& GlyphOf(char32_t code) const;
    Glyph RenderGlyph(char32_t code) const;
    static void BlendGlyph(PixelImage& target, const Glyph& glyph, int penX, int baseline, uint32_t rgb,
                           const TextClip& clip);

    FT_LibraryRec_* m_library;
    std::mutex& m_libraryLock;
    FT_FaceRec_* m_face = nullptr;
    FT_FaceRec_* m_fallback = nullptr;
    bool m_embolden = false;
    bool m_fallbackEmbolden = false;
    int m_height = 0;
    int m_ascent = 0;
    int m_externalLeading = 0;
    // Guards the faces (FreeType faces are single-threaded) and the cache.
    mutable std::mutex m_mutex;
    mutable std::unordered_map<char32_t, Glyph> m_glyphs;
};
