#include "market/CatalogueGenerator.h"

#include "market/CatalogueDatabase.h"
#include "market/GeneratorVocabulary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace market {

namespace {

const int64_t kSizePidBase = 20509;
const int64_t kFirstNumIid = 520000000000;
const int64_t kFirstSid = 60000000;
const int kWeekSeconds = 7 * 24 * 3600;

// Credit bands of the client's seller display: below a heart, 1-5 hearts,
// 1-5 diamonds, 1-5 crowns.
const int64_t kBandLow[] = {1, 4, 11, 41, 91, 151, 251, 501, 1001, 2001, 5001, 10001, 20001, 50001, 100001, 200001};
const int64_t kBandHigh[] = {3, 10, 40, 90, 150, 250, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000,
                             600000};
const int kBandCount = 16;

int64_t secondCid(int department, int group)
{
    return 500000 + department * 100 + group;
}

int64_t leafCid(int department, int group, int leaf)
{
    return 50000000 + department * 10000 + group * 100 + leaf;
}

int64_t brandVid(int department, int brand)
{
    return 3000000 + department * 100 + brand;
}

int64_t colourVid(int colour)
{
    return 28320 + colour;
}

int64_t sizeVid(int department, int size)
{
    return 4000000 + department * 100 + size;
}

std::string join(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

}

CatalogueGenerator::CatalogueGenerator(CatalogueDatabase& db, uint32_t seed) : db_(db), random_(seed) {}

int64_t CatalogueGenerator::topCid(int department)
{
    return 50000 + department;
}

int CatalogueGenerator::pick(int count)
{
    return count <= 1 ? 0 : int(random_() % uint32_t(count));
}

bool CatalogueGenerator::chance(int percent)
{
    return pick(100) < percent;
}

int64_t CatalogueGenerator::between(int64_t low, int64_t high)
{
    return low + int64_t(random_() % uint64_t(high - low + 1));
}

void CatalogueGenerator::generate(int productCount)
{
    productCount = std::max(productCount, 1);
    db_.createSchema();
    db_.beginBulk();
    writeCategories();
    writeSellers(std::max(20, productCount / 25));
    writeProducts(productCount);
    db_.setMeta("kind", "generated");
    db_.setMeta("products", std::to_string(productCount));
    db_.commitBulk();
}

void CatalogueGenerator::writeCategories()
{
    const auto& departments = GeneratorVocabulary::departments();
    leaves_.assign(departments.size(), {});
    int order = 0;
    for (int d = 0; d < int(departments.size()); ++d) {
        db_.insert(Category{topCid(d), 0, departments[d].name, true, order++});
        writePropValues(d, topCid(d));
        for (int g = 0; g < int(departments[d].groups.size()); ++g) {
            const auto& group = departments[d].groups[g];
            db_.insert(Category{secondCid(d, g), topCid(d), group.first, true, order++});
            writePropValues(d, secondCid(d, g));
            for (int l = 0; l < int(group.second.size()); ++l) {
                db_.insert(Category{leafCid(d, g, l), secondCid(d, g), group.second[l], false, order++});
                writePropValues(d, leafCid(d, g, l));
                leaves_[d].push_back(leafCid(d, g, l));
            }
        }
    }
}

void CatalogueGenerator::writePropValues(int department, int64_t cid)
{
    const Department& dept = GeneratorVocabulary::departments()[department];
    // The brand always comes first: the client's property tree opens with it.
    for (int b = 0; b < int(dept.brands.size()); ++b)
        db_.insert(PropValue{cid, kBrandPid, "品牌", brandVid(department, b), dept.brands[b], dept.brands[b], b});
    const auto& colours = GeneratorVocabulary::colours();
    for (int c = 0; c < int(colours.size()); ++c)
        db_.insert(PropValue{cid, kColourPid, "颜色分类", colourVid(c), colours[c].name, "", 10000 + c});
    for (int s = 0; s < int(dept.sizes.size()); ++s)
        db_.insert(PropValue{cid, kSizePidBase + department, dept.sizeProperty, sizeVid(department, s), dept.sizes[s],
                             "", 20000 + s});
}

std::string CatalogueGenerator::makeNick(int index)
{
    const auto& heads = GeneratorVocabulary::nickHeads();
    const auto& tails = GeneratorVocabulary::nickTails();
    const auto& pinyin = GeneratorVocabulary::pinyinNicks();
    // The index keeps every nick unique whatever the random words are.
    if (chance(20))
        return pinyin[pick(int(pinyin.size()))] + std::to_string(1000 + index);
    return heads[pick(int(heads.size()))] + tails[pick(int(tails.size()))] + std::to_string(index + 1);
}

std::string CatalogueGenerator::makeModel()
{
    static const char letters[] = "ABCDEFGHKMNPRSTVXZ";
    std::string model(1, letters[pick(int(sizeof(letters) - 1))]);
    if (chance(50))
        model += letters[pick(int(sizeof(letters) - 1))];
    return model + std::to_string(between(10, 9999));
}

std::string CatalogueGenerator::makeDate(int yearFrom)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", int(between(yearFrom, 2026)),
                  int(between(1, 12)), int(between(1, 28)), int(between(0, 23)), int(between(0, 59)),
                  int(between(0, 59)));
    return text;
}

void CatalogueGenerator::writeSellers(int count)
{
    const auto& departments = GeneratorVocabulary::departments();
    const auto& locations = GeneratorVocabulary::locations();
    const auto& suffixes = GeneratorVocabulary::shopSuffixes();
    const auto& bulletins = GeneratorVocabulary::bulletins();
    for (int i = 0; i < count; ++i) {
        SellerPlan plan{makeNick(i), pick(int(departments.size())), chance(20)};
        const Department& dept = departments[plan.department];
        // Walking the bands in turn shows every credit picture even in a small catalogue.
        int band = i % kBandCount;
        Seller seller;
        seller.nick = plan.nick;
        seller.level = band;
        seller.totalNum = between(kBandLow[band], kBandHigh[band]);
        seller.goodNum = seller.totalNum - seller.totalNum * between(0, 50) / 1000;
        const Location& location = locations[size_t(i) < locations.size() ? size_t(i) : size_t(pick(int(locations.size())))];
        seller.state = location.state;
        seller.city = location.city;
        db_.insert(seller);

        Shop shop;
        shop.sid = kFirstSid + i;
        shop.nick = plan.nick;
        shop.cid = topCid(plan.department);
        std::string brand = dept.brands[pick(int(dept.brands.size()))];
        shop.title = plan.mall ? brand + "官方旗舰店" : plan.nick + suffixes[pick(int(suffixes.size()))];
        shop.desc = "<p>本店主营" + dept.name + "，" + brand + "等品牌正品低价，欢迎选购。</p>";
        if (!chance(30))
            shop.bulletin = bulletins[pick(int(bulletins.size()))];
        shop.created = makeDate(2008);
        shop.modified = "2026-" + shop.created.substr(5);
        db_.insert(shop);
        sellers_.push_back(plan);
    }
}

void CatalogueGenerator::writeProducts(int count)
{
    const auto& departments = GeneratorVocabulary::departments();
    const auto& colours = GeneratorVocabulary::colours();
    static const int64_t fees[] = {500, 800, 1000, 1200, 1500, 2000};
    for (int i = 0; i < count; ++i) {
        // Squaring favours the first sellers, so a few shops hold many products.
        double r = double(random_()) / double(std::mt19937::max());
        const SellerPlan& seller = sellers_[size_t(r * r * double(sellers_.size())) % sellers_.size()];
        int d = chance(80) ? seller.department : pick(int(departments.size()));
        const Department& dept = departments[d];
        int64_t cid = leaves_[d][size_t(pick(int(leaves_[d].size())))];
        int brand = pick(int(dept.brands.size()));
        int colour = pick(int(colours.size()));
        int size = pick(int(dept.sizes.size()));

        Product product;
        product.numIid = kFirstNumIid + int64_t(i) * 37;
        product.cid = cid;
        product.nick = seller.nick;
        std::vector<std::string> words = {dept.brands[brand], makeModel()};
        std::vector<int> qualities(dept.qualities.size());
        for (size_t q = 0; q < qualities.size(); ++q)
            qualities[q] = int(q);
        std::shuffle(qualities.begin(), qualities.end(), random_);
        for (int q = 0, n = 2 + pick(2); q < n; ++q)
            words.push_back(dept.qualities[size_t(qualities[size_t(q)])]);
        const std::string& leafName = dept.groups[size_t((cid / 100) % 100)].second[size_t(cid % 100)];
        words.push_back(chance(40) ? colours[colour].name + leafName : leafName);
        product.title = join(words);
        product.type = chance(10) ? "auction" : "fixed";
        double logLow = std::log(double(dept.minPriceYuan)), logHigh = std::log(double(dept.maxPriceYuan));
        double yuan = std::exp(logLow + (logHigh - logLow) * double(pick(10000)) / 10000.0);
        product.priceCents = int64_t(yuan) * 100 + (chance(50) ? 0 : pick(100));
        product.expressFeeCents = chance(40) ? 0 : fees[pick(6)];
        product.volume = int64_t(std::exp(double(pick(9000)) / 1000.0)) - 1;
        product.num = between(1, 999);
        product.delistOffset = between(600, kWeekSeconds);
        product.isMall = seller.mall;
        product.isPrepay = seller.mall || chance(50);
        product.promoted = seller.mall || chance(40);
        int shape = pick(10);
        product.aspect = shape < 6 ? 0 : shape < 8 ? 1 : 2;
        product.props = {{kBrandPid, brandVid(d, brand)},
                         {kColourPid, colourVid(colour)},
                         {kSizePidBase + d, sizeVid(d, size)}};
        db_.insert(product);
    }
}

}
