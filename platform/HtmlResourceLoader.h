#pragma once
#include <cstddef>
#include <string>

// Fetches what a product page refers to: pictures and style sheets. Only
// http and https addresses are followed (a page can name any scheme,
// "javascript:" and "file:" included), https against the system's
// certificate store; bodies are capped, and every wait is bounded.
class HtmlResourceLoader
{
public:
    static constexpr int kMaxRedirects = 3;

    // The absolute address for a reference in a page that has no address of
    // its own: protocol-relative references get http; anything that is not
    // http(s) gives "".
    static std::string Resolve(const std::string& reference);

    // GET with redirects followed; false on any failure, a status other than
    // 200, or a body longer than maxBytes.
    static bool Fetch(const std::string& url, size_t maxBytes, int timeoutMs, std::string& body);
};
