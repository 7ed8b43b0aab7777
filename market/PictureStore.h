#pragma once

#include "market/PictureRenderer.h"

#include <string>

namespace market {

class Catalogue;
class RecommendPackage;

// The picture server's files: "/pic/<kind>/<key>.jpg" with the variants
// "_b.jpg" (small, for cards) and "_<n>x<n>.jpg" (fitted into n×n), for the
// kinds item, desc, shop and rec. Pictures are drawn (or scaled from an
// imported file) on first request and cached on disk.
class PictureStore {
public:
    PictureStore(const Catalogue& catalogue, const RecommendPackage& package, std::string cacheDir,
                 std::string importDir);

    // False when the path names no picture of the market.
    bool picture(const std::string& path, std::string& jpeg) const;

private:
    struct Request {
        std::string kind;
        std::string key;
        int box = 0;        // fit into box×box; 0: full size
        std::string cacheName;
    };

    bool parse(const std::string& path, Request& request) const;
    bool describe(const Request& request, PictureSpec& spec, std::string& importedFile) const;
    std::string produce(const Request& request, PictureSpec spec, const std::string& importedFile) const;
    static std::string scaleImported(const std::string& file, int box);

    const Catalogue& catalogue_;
    const RecommendPackage& package_;
    std::string cacheDir_;
    std::string importDir_;
};

}
