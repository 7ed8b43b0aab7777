#include "market/RecommendPackage.h"

#include "market/Catalogue.h"
#include "market/CatalogueGenerator.h"
#include "market/MarketLinks.h"
#include "market/XmlAnswerWriter.h"

#include <Poco/DateTime.h>
#include <Poco/TextConverter.h>
#include <Poco/UTF8Encoding.h>
#include <Poco/Windows936Encoding.h>
#include <Poco/Zip/Compress.h>

#include <algorithm>
#include <sstream>

namespace market {

namespace {

const size_t kShops = 8;
const size_t kProducts = 12;

void addFlag(TiXmlElement* item, const char* name, bool on)
{
    if (on)
        XmlAnswerWriter::addElement(item, name);
}

void addNumber(TiXmlElement* item, const char* name, int64_t value)
{
    if (value > 0)
        XmlAnswerWriter::addText(item, name, std::to_string(value));
}

}

RecommendPackage::RecommendPackage(const Catalogue& catalogue) : catalogue_(catalogue)
{
    addSearches(catalogue);
    addShops(catalogue);
    addProducts(catalogue);
}

void RecommendPackage::addSearches(const Catalogue& catalogue)
{
    // Keywords are names that product titles carry, so every search finds something.
    int turn = 0;
    for (const Category* top : catalogue.children(0)) {
        std::vector<const Category*> groups = catalogue.children(top->cid);
        std::vector<const Category*> leaves = groups.empty() ? groups : catalogue.children(groups.front()->cid);
        if (!leaves.empty()) {
            RecommendItem keyword;
            keyword.className = "热门搜索";
            keyword.name = leaves.front()->name;
            keyword.cardText = "热搜：" + keyword.name;
            keyword.byVolume = true;
            items_.push_back(keyword);

            RecommendItem narrowed;
            narrowed.className = "精选分类";
            narrowed.name = leaves.back()->name;
            narrowed.cid = groups.front()->cid;
            narrowed.lowPrice = 20 * (1 + turn % 3);
            narrowed.highPrice = narrowed.lowPrice * 50;
            narrowed.mall = turn % 4 == 0;
            narrowed.prepay = narrowed.guarantee = turn % 2 == 0;
            narrowed.affiliate = turn % 5 == 4;
            narrowed.cardText = narrowed.name + " " + std::to_string(narrowed.lowPrice) + "-" +
                                std::to_string(narrowed.highPrice) + "元";
            items_.push_back(narrowed);
            ++turn;
        }
        // A brand search narrowed by its own property, as the property tree would.
        std::vector<PropValue> values = catalogue.propValues(top->cid);
        auto brand = std::find_if(values.begin(), values.end(),
                                  [](const PropValue& v) { return v.pid == CatalogueGenerator::kBrandPid; });
        if (brand != values.end()) {
            RecommendItem branded;
            branded.name = brand->name;
            branded.cid = top->cid;
            branded.props = std::to_string(brand->pid) + ":" + std::to_string(brand->vid);
            branded.cardText = brand->name + "专区";
            items_.push_back(branded);
        }
    }
}

void RecommendPackage::addShops(const Catalogue& catalogue)
{
    std::vector<const Seller*> sellers;
    for (const Seller& seller : catalogue.sellers())
        if (catalogue.shop(seller.nick))
            sellers.push_back(&seller);
    std::stable_sort(sellers.begin(), sellers.end(),
                     [](const Seller* a, const Seller* b) { return a->totalNum > b->totalNum; });
    sellers.resize(std::min(sellers.size(), kShops));
    for (const Seller* seller : sellers) {
        RecommendItem shop;
        shop.kind = RecommendItem::Kind::Shop;
        shop.className = "品牌旗舰店";
        shop.name = seller->nick;
        shop.cardText = catalogue.shop(seller->nick)->title;
        items_.push_back(shop);
    }
}

void RecommendPackage::addProducts(const Catalogue& catalogue)
{
    std::vector<const Product*> products;
    for (const Product& product : catalogue.products())
        products.push_back(&product);
    size_t count = std::min(products.size(), kProducts);
    std::partial_sort(products.begin(), products.begin() + std::ptrdiff_t(count), products.end(),
                      [](const Product* a, const Product* b) {
                          return a->volume != b->volume ? a->volume > b->volume : a->numIid < b->numIid;
                      });
    for (size_t i = 0; i < count; ++i) {
        RecommendItem product;
        product.kind = RecommendItem::Kind::Product;
        product.className = "今日特价";
        product.name = products[i]->title;
        product.numIid = products[i]->numIid;
        product.cardText = "月销" + std::to_string(products[i]->volume) + "件";
        items_.push_back(product);
    }
}

std::string RecommendPackage::xml(const MarketLinks& links, int version) const
{
    XmlAnswerWriter writer("recommend", "GBK");
    TiXmlElement* header = XmlAnswerWriter::addElement(writer.root(), "r");
    XmlAnswerWriter::addText(header, "ver", "1");
    XmlAnswerWriter::addText(header, "vol", std::to_string(version));
    for (size_t i = 0; i < items_.size(); ++i) {
        const RecommendItem& item = items_[i];
        TiXmlElement* p = XmlAnswerWriter::addElement(writer.root(), "p");
        if (!item.className.empty())
            XmlAnswerWriter::addText(p, "c", item.className);
        XmlAnswerWriter::addText(p, "k", item.name);
        XmlAnswerWriter::addText(p, "u", links.recommendPicture(int(i) + 1));
        addFlag(p, "shop", item.kind == RecommendItem::Kind::Shop);
        if (item.kind == RecommendItem::Kind::Product) {
            addFlag(p, "pd", true);
            const Product* product = catalogue_.product(item.numIid);
            XmlAnswerWriter::addText(p, "f", product ? "￥" + yuanText(product->priceCents) : std::string());
            XmlAnswerWriter::addText(p, "j", links.itemPage(item.numIid));
        }
        XmlAnswerWriter::addText(p, "d", item.cardText);
        addNumber(p, "ci", item.cid);
        if (!item.props.empty())
            XmlAnswerWriter::addText(p, "pi", item.props);
        addNumber(p, "l", item.lowPrice);
        addNumber(p, "h", item.highPrice);
        addFlag(p, "mall", item.mall);
        addFlag(p, "prp", item.prepay);
        addFlag(p, "grt", item.guarantee);
        addFlag(p, "tbk", item.affiliate);
        addFlag(p, "v", item.byVolume);
    }
    return writer.str();
}

std::string RecommendPackage::zip(const MarketLinks& links, int version) const
{
    Poco::UTF8Encoding utf8;
    Poco::Windows936Encoding gbk;
    Poco::TextConverter converter(utf8, gbk, '?');
    std::string content;
    converter.convert(xml(links, version), content);

    std::ostringstream out;
    Poco::Zip::Compress compress(out, true);
    std::istringstream in(content);
    compress.addFile(in, Poco::DateTime(2026, 1, 1), Poco::Path("recommend.xml"));
    compress.close();
    return out.str();
}

}
