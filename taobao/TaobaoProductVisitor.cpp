#include "taobao/TaobaoProductVisitor.h"

#include "taobao/TaobaoText.h"
#include "taobao/TaobaoXml.h"

bool TaobaoProductVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() == "totalResults") {
        total = TaobaoXml::toInt(TaobaoXml::text(&element));
        return true;
    }
    if (element.ValueStr() != "item_list")
        return true;
    const TiXmlElement* type = TaobaoXml::child(element, "type");
    CTaobaoProductInfo product;
    if (!type || !readListedProduct(element, "pic_path", product))
        return true;
    product.type = TaobaoXml::text(type);
    const TiXmlElement* volume = TaobaoXml::child(element, "volume");
    product.volume = volume ? TaobaoXml::text(volume) : "0";
    products.push_back(std::move(product));
    return true;
}

bool TaobaoProductVisitor::readListedProduct(const TiXmlElement& element, const char* pictureChild,
                                             CTaobaoProductInfo& product)
{
    const TiXmlElement* num_iid = TaobaoXml::child(element, "num_iid");
    const TiXmlElement* title = TaobaoXml::child(element, "title");
    const TiXmlElement* nick = TaobaoXml::child(element, "nick");
    const TiXmlElement* price = TaobaoXml::child(element, "price");
    if (!num_iid || !title || !nick || !price)
        return false;
    product.num_iid = TaobaoXml::text(num_iid);
    product.title = displayTitle(TaobaoXml::text(title));
    product.nick = TaobaoXml::text(nick);
    product.price = TaobaoXml::formatPrice(TaobaoXml::text(price));
    const TiXmlElement* picture = TaobaoXml::child(element, pictureChild);
    product.pic_url = picture ? TaobaoXml::text(picture) : kNoPicturePath;
    return true;
}

std::string TaobaoProductVisitor::displayTitle(std::string title)
{
    UTF8ToAnsi(title);
    return HtmlToText(title);
}

void appendIndexedProducts(std::vector<CTaobaoProductInfo>& records, int firstIndex,
                           std::vector<int>& indices,
                           std::vector<std::unique_ptr<CTaobaoProductInfo>>& products)
{
    for (size_t i = 0; i < records.size(); ++i) {
        indices.push_back(firstIndex + static_cast<int>(i));
        products.push_back(std::make_unique<CTaobaoProductInfo>(std::move(records[i])));
    }
}

void parseProductList(const std::string& body, int firstIndex, std::vector<int>& indices,
                      std::vector<std::unique_ptr<CTaobaoProductInfo>>& products, int& total)
{
    TaobaoProductVisitor visitor;
    TaobaoXml::walk(body, visitor);
    appendIndexedProducts(visitor.products, firstIndex, indices, products);
    total = visitor.total;
}
