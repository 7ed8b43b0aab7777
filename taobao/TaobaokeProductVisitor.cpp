#include "taobao/TaobaokeProductVisitor.h"

#include "taobao/TaobaoProductVisitor.h"
#include "taobao/TaobaoXml.h"

bool TaobaokeProductVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() == "totalResults") {
        total = TaobaoXml::toInt(TaobaoXml::text(&element));
        return true;
    }
    CTaobaoProductInfo product;
    if (element.ValueStr() == "taobaokeItem"
        && TaobaoProductVisitor::readListedProduct(element, "pic_url", product)) {
        product.volume = "0";
        products.push_back(std::move(product));
    }
    return true;
}

void parseTaobaokeProductList(const std::string& body, int firstIndex, std::vector<int>& indices,
                              std::vector<std::unique_ptr<CTaobaoProductInfo>>& products, int& total)
{
    TaobaokeProductVisitor visitor;
    TaobaoXml::walk(body, visitor);
    appendIndexedProducts(visitor.products, firstIndex, indices, products);
    total = visitor.total;
}
