#pragma once
#include <string>

// What the user has set up for a search, as kept in the history and in the
// remembered positions of the today and favourites views.
struct CQX_SearchSnapshot
{
    enum SortType
    {
        SortByVolume = 1,
        SortByTime = 2,
        SortByCredit = 3,
        SortByPrice = 4,
    };

    std::string nick;        // system code page: the shop being browsed
    std::string keyword;     // UTF-8: the search box text
    std::string category;
    std::string properties;
    std::string location;    // UTF-8: the chosen location entry, empty for none
    int startPrice = -1;     // -1: no bound
    int endPrice = -1;
    int sortType = SortByCredit;
    bool sortFlag = false;   // the other direction of the sort type
    bool mall = false;
    bool prepay = false;
    bool guarantee = false;
    bool affiliate = false;

    // The same search: texts, price bounds and filters agree; the sort is
    // not compared, so re-sorting a result list does not make a new history
    // entry.
    bool SameSearch(const CQX_SearchSnapshot& other) const
    {
        return nick == other.nick && keyword == other.keyword && category == other.category &&
               properties == other.properties && location == other.location && startPrice == other.startPrice &&
               endPrice == other.endPrice && mall == other.mall && prepay == other.prepay &&
               guarantee == other.guarantee && affiliate == other.affiliate;
    }
};
