#pragma once
#include <string>

class CTaobaoFeedMap;
class CTaobaoShopMap;
class TiXmlDocument;
struct CTaobaoProductInfoDetails;

// The lists kept between runs (viewed today, favourite products, favourite
// shops) and their XML files. Each file is read once per run and written at
// program end; writing replaces the old file only once the new one is
// complete, so a crash or a full disk never loses what was there.
class CTaobaoLocalStore
{
public:
    enum FeedKind
    {
        Favorites,
        History,  // carries the time it was written; a file from another day is ignored
    };

    // A copy of the record, nick back in UTF-8, added to the list.
    static bool addFeedRecord(CTaobaoFeedMap& feeds, const CTaobaoProductInfoDetails& record);

    // Reads the file into the list, once per run; later calls do nothing.
    static void loadFeeds(CTaobaoFeedMap& feeds, const std::string& path, FeedKind kind);
    // Writes the list (loading the file first if that never happened, so
    // the products saved before are kept behind the new ones) and empties it.
    static bool saveFeeds(CTaobaoFeedMap& feeds, const std::string& path, FeedKind kind);

    static void loadShops(CTaobaoShopMap& shops, const std::string& path);
    static bool saveShops(const CTaobaoShopMap& shops, const std::string& path);

    // Whether fileTime was written on the day of now (both as makeTimestamp writes them).
    static bool isSameDay(const std::string& fileTime, const std::string& now);

    // Writes a sibling temporary file, syncs it and renames it over path.
    static bool writeDocument(const TiXmlDocument& document, const std::string& path);
};
