#pragma once
#include <cstddef>
#include <string>

// Makes a seller's page safe to hand to the layout engine. Nesting a few
// thousand elements deep is quadratic there and crashes it further down,
// tables nested deeply grow exponentially, and malformed UTF-8 is read past
// its end. A single linear pass over the tags (no parse tree is built, so the
// pass itself cannot be made slow) keeps the structure up to the limits and
// flattens what lies deeper: those tags are dropped, their text is kept.
class HtmlPageSanitizer
{
public:
    static constexpr size_t kMaxPageBytes = 1024 * 1024;
    static constexpr int kMaxDepth = 160;
    static constexpr int kMaxTableDepth = 5;

    // The page made safe, in valid UTF-8; an empty string for a page too
    // large to show.
    static std::string Sanitize(const std::string& utf8Html);

    // The page's text without its markup, scripts or styles, with a line
    // break where a block ends and runs of white space made one, as valid
    // UTF-8 of at most maxBytes. Entities stay as written: the result is
    // itself markup-free page text.
    static std::string PlainText(const std::string& utf8Html, size_t maxBytes);

    // The text with malformed UTF-8 sequences as "?" and NUL bytes removed,
    // so the engine's UTF-8 reader never runs past a character's end and a
    // page is not cut short.
    static std::string ValidUtf8(const std::string& text);
};
