#include "market/CsvImporter.h"

#include "market/CatalogueDatabase.h"
#include "market/CatalogueGenerator.h"
#include "market/CsvReader.h"

#include <Poco/File.h>
#include <Poco/NumberParser.h>
#include <Poco/Path.h>
#include <Poco/Process.h>
#include <Poco/String.h>
#include <Poco/StringTokenizer.h>
#include <Poco/TextConverter.h>
#include <Poco/UTF8Encoding.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace market {

namespace {

const int64_t kFirstNumIid = 600000000000;
const int64_t kFirstCid = 70000;
const int64_t kFirstSid = 80000000;
const int64_t kFirstBrandVid = 5000000;
const size_t kMaxField = 200000;

// Imported text goes into XML answers: invalid UTF-8 and control characters are replaced.
std::string cleanText(const std::string& text)
{
    Poco::UTF8Encoding utf8;
    Poco::TextConverter converter(utf8, utf8, '?');
    std::string clean;
    converter.convert(text, clean);
    for (char& c : clean)
        if ((unsigned char)c < 0x20 && c != '\n' && c != '\t')
            c = ' ';
    return Poco::trim(clean);
}

bool flag(const std::string& text)
{
    std::string value = Poco::toLower(text);
    return value == "1" || value == "true" || value == "yes" || value == "是";
}

bool centsOf(const std::string& text, int64_t& cents)
{
    double value = 0;
    if (!Poco::NumberParser::tryParseFloat(text, value) || !std::isfinite(value) || value < 0 || value > 1e9)
        return false;
    cents = int64_t(std::llround(value * 100));
    return true;
}

int64_t countOf(const std::string& text)
{
    Poco::Int64 value = 0;
    return Poco::NumberParser::tryParse64(text, value) && value > 0 ? value : 0;
}

std::string get(const std::map<std::string, std::string>& row, const char* column)
{
    auto found = row.find(column);
    return found == row.end() ? std::string() : found->second;
}

// Credit grows with what a seller has sold, as ratings would.
int creditLevel(int64_t totalNum)
{
    static const int64_t bandTops[] = {3, 10, 40, 90, 150, 250, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000,
                                       200000};
    int level = 0;
    while (level < 15 && totalNum > bandTops[level])
        ++level;
    return level;
}

}

CsvImporter::Report CsvImporter::importFile(const MarketOptions& options, const std::string& csvPath,
                                            const std::string& picturesDir)
{
    std::ifstream in(csvPath, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + csvPath);
    std::string dataDir = options.dataDir.empty() ? std::string("market-data") : options.dataDir;
    Poco::File(MarketServer::importedPictureDir(dataDir)).createDirectories();
    CsvImporter importer(picturesDir, MarketServer::importedPictureDir(dataDir));

    CsvReader reader(in);
    std::vector<std::string> header, cells;
    if (!reader.next(header))
        throw std::runtime_error(csvPath + " is empty");
    for (std::string& name : header)
        name = Poco::toLower(Poco::trim(name));
    Report report;
    for (int line = 2; reader.next(cells); ++line) {
        if (cells.size() == 1 && Poco::trim(cells[0]).empty())
            continue;
        Row row;
        for (size_t i = 0; i < header.size() && i < cells.size(); ++i) {
            // Cutting would lose the owner's text unseen, perhaps mid-character.
            if (cells[i].size() > kMaxField)
                throw std::runtime_error(csvPath + " line " + std::to_string(line) + ": the field \"" + header[i] +
                                         "\" is longer than " + std::to_string(kMaxField) +
                                         " bytes; nothing was imported");
            row[header[i]] = cleanText(cells[i]);
        }
        std::string problem;
        if (importer.addRow(row, problem))
            ++report.products;
        else
            ++report.skippedRows;
        if (!problem.empty() && report.firstProblem.empty())
            report.firstProblem = "line " + std::to_string(line) + ": " + problem;
    }
    if (report.products == 0)
        throw std::runtime_error("no product could be read from " + csvPath +
                                 (report.firstProblem.empty() ? "" : " (" + report.firstProblem + ")"));

    std::string path = MarketServer::cataloguePath(dataDir);
    std::string temporary = path + ".tmp" + std::to_string(Poco::Process::id());
    if (Poco::File(temporary).exists())
        Poco::File(temporary).remove(false);
    {
        CatalogueDatabase database(temporary);
        importer.write(database);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot move the imported catalogue to " + path);
    if (Poco::File(MarketServer::pictureCacheDir(dataDir)).exists())
        Poco::File(MarketServer::pictureCacheDir(dataDir)).remove(true);
    return report;
}

bool CsvImporter::addRow(const Row& row, std::string& problem)
{
    Product product;
    product.title = get(row, "title");
    product.nick = get(row, "nick");
    std::string category = get(row, "category");
    if (product.title.empty() || product.nick.empty() || category.empty()) {
        problem = "title, nick and category are needed";
        return false;
    }
    if (!centsOf(get(row, "price"), product.priceCents)) {
        problem = "the price is not a number of yuan";
        return false;
    }
    product.cid = categoryFor(category);
    if (product.cid == 0) {
        problem = "the category is empty";
        return false;
    }
    product.numIid = kFirstNumIid + int64_t(products_.size());
    product.type = get(row, "type") == "auction" ? "auction" : "fixed";
    product.volume = countOf(get(row, "volume"));
    product.num = std::max<int64_t>(1, countOf(get(row, "num")));
    centsOf(get(row, "express_fee"), product.expressFeeCents);
    product.delistOffset = 3 * 24 * 3600 + int64_t(products_.size() % 1000) * 600;
    product.isMall = flag(get(row, "mall"));
    product.isPrepay = flag(get(row, "prepay"));
    product.promoted = flag(get(row, "guarantee"));
    product.desc = get(row, "desc");
    std::string brand = get(row, "brand");
    if (!brand.empty())
        product.props.emplace_back(CatalogueGenerator::kBrandPid, brandFor(product.cid, brand));
    if (!get(row, "picture").empty())
        product.pictureFile = copyPicture(get(row, "picture"), problem);
    product.aspect = 0;

    Seller& seller = sellers_[product.nick];
    if (seller.nick.empty())
        shopCids_[product.nick] = product.cid;
    seller.nick = product.nick;
    seller.totalNum += 1 + product.volume;
    if (seller.state.empty()) {
        seller.state = get(row, "state");
        seller.city = get(row, "city").empty() ? seller.state : get(row, "city");
    }
    products_.push_back(std::move(product));
    return true;
}

int64_t CsvImporter::categoryFor(const std::string& path)
{
    Poco::StringTokenizer names(path, ">/", Poco::StringTokenizer::TOK_IGNORE_EMPTY | Poco::StringTokenizer::TOK_TRIM);
    int64_t parent = 0;
    std::string prefix;
    for (const std::string& name : names) {
        prefix += ">" + name;
        auto found = categoryByPath_.find(prefix);
        if (found != categoryByPath_.end()) {
            parent = found->second;
            continue;
        }
        int64_t cid = kFirstCid + int64_t(categories_.size());
        for (Category& category : categories_)
            if (category.cid == parent)
                category.isParent = true;
        categories_.push_back(Category{cid, parent, name, false, int(categories_.size())});
        categoryByPath_[prefix] = cid;
        parent = cid;
    }
    return parent;
}

int64_t CsvImporter::brandFor(int64_t cid, const std::string& brand)
{
    auto known = brandVids_.find(brand);
    int64_t vid = known != brandVids_.end() ? known->second : kFirstBrandVid + int64_t(brandVids_.size());
    brandVids_[brand] = vid;
    // The brand is offered on the category and every ancestor, so narrowing works at any level.
    for (int64_t at = cid; at != 0;) {
        bool listed = false;
        for (const PropValue& value : brands_)
            listed = listed || (value.cid == at && value.vid == vid);
        if (!listed)
            brands_.push_back(PropValue{at, CatalogueGenerator::kBrandPid, "品牌", vid, brand, brand,
                                        int(brands_.size())});
        int64_t parent = 0;
        for (const Category& category : categories_)
            if (category.cid == at)
                parent = category.parentCid;
        at = parent;
    }
    return vid;
}

std::string CsvImporter::copyPicture(const std::string& name, std::string& problem)
{
    // Only a plain file name: the list cannot reach outside the pictures folder.
    std::string file = Poco::Path(name).getFileName();
    Poco::File source(Poco::Path(picturesDir_.empty() ? "." : picturesDir_, file).toString());
    if (file.empty() || file != name || !source.exists() || !source.isFile()) {
        problem = "picture \"" + name + "\" not found; a drawn picture stands in";
        return std::string();
    }
    source.copyTo(importedDir_ + "/" + file);
    return file;
}

void CsvImporter::write(CatalogueDatabase& database) const
{
    database.createSchema();
    database.beginBulk();
    for (const Category& category : categories_)
        database.insert(category);
    for (const PropValue& value : brands_)
        database.insert(value);
    int64_t sid = kFirstSid;
    for (const auto& entry : sellers_) {
        Seller seller = entry.second;
        seller.goodNum = seller.totalNum;
        seller.level = creditLevel(seller.totalNum);
        database.insert(seller);
        database.insert(Shop{sid++, seller.nick, shopCids_.at(seller.nick), seller.nick + "的店铺", "", "", "2026-01-01 00:00:00",
                             "2026-01-01 00:00:00"});
    }
    for (const Product& product : products_)
        database.insert(product);
    database.setMeta("kind", "imported");
    database.setMeta("products", std::to_string(products_.size()));
    database.commitBulk();
}

}
