#pragma once

#include <string>

namespace market {

// What one endpoint answers; the request handler sends it (or a fault instead).
struct HttpAnswer {
    int status = 200;
    std::string contentType = "text/xml; charset=utf-8";
    std::string body;

    static HttpAnswer text(int status, const std::string& text)
    {
        return HttpAnswer{status, "text/plain; charset=utf-8", text + "\n"};
    }
};

}
