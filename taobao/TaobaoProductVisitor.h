#pragma once
#include "taobao/CTaobaoProductInfo.h"

#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

// Reads the products of an items search answer ("item_list" elements) and
// its "totalResults".
class TaobaoProductVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    // The fields both product listings carry: num_iid, title (converted to
    // plain text in the system code page), nick, price ("%.2f") and the
    // picture from child `pictureChild` or the placeholder. False when one of
    // num_iid, title, nick or price is absent.
    static bool readListedProduct(const TiXmlElement& element, const char* pictureChild,
                                  CTaobaoProductInfo& product);
    // A title as the marketplace sends it (UTF-8, maybe with tags and entities) as plain text to show.
    static std::string displayTitle(std::string title);

    std::vector<CTaobaoProductInfo> products;
    int total = 0;
};

// The products of an answer with consecutive positions from firstIndex.
void parseProductList(const std::string& body, int firstIndex, std::vector<int>& indices,
                      std::vector<std::unique_ptr<CTaobaoProductInfo>>& products, int& total);

// Appends the records with positions from firstIndex.
void appendIndexedProducts(std::vector<CTaobaoProductInfo>& records, int firstIndex,
                           std::vector<int>& indices,
                           std::vector<std::unique_ptr<CTaobaoProductInfo>>& products);
