#include "market/PictureStore.h"

#include "market/Catalogue.h"
#include "market/CatalogueGenerator.h"
#include "market/GeneratorVocabulary.h"
#include "market/PictureCanvas.h"
#include "market/RecommendPackage.h"

#include <FreeImage.h>
#include <Poco/File.h>
#include <Poco/NumberParser.h>
#include <Poco/Path.h>
#include <Poco/Process.h>
#include <Poco/UTF8Encoding.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

namespace market {

namespace {

const int kSmallBox = 250;
const std::set<int> kFittedBoxes = {60, 80, 120, 160, 210, 250, 310, 360, 400, 460, 600};

const PictureSpec::Shape kDepartmentShapes[] = {
    PictureSpec::Shape::Device, PictureSpec::Shape::Shirt, PictureSpec::Shape::Shirt,
    PictureSpec::Shape::Bag,    PictureSpec::Shape::Box,   PictureSpec::Shape::Bottle,
    PictureSpec::Shape::Box,    PictureSpec::Shape::Ball,  PictureSpec::Shape::Ball,
};

uint32_t hashColour(int64_t key)
{
    const auto& colours = GeneratorVocabulary::colours();
    return colours[size_t(uint64_t(key) * 2654435761u % colours.size())].rgb;
}

uint32_t productColour(const Catalogue& catalogue, const Product& product)
{
    for (const auto& held : product.props)
        if (held.first == CatalogueGenerator::kColourPid)
            for (const PropValue& value : catalogue.propValues(product.cid))
                if (value.vid == held.second)
                    for (const Colour& colour : GeneratorVocabulary::colours())
                        if (colour.name == value.name && colour.rgb < 0xe0e0e0)
                            return colour.rgb;
    return hashColour(product.numIid);
}

PictureSpec::Shape departmentShape(const Catalogue& catalogue, int64_t cid)
{
    std::vector<int64_t> path = catalogue.path(cid);
    std::vector<const Category*> tops = catalogue.children(0);
    for (size_t i = 0; !path.empty() && i < tops.size(); ++i)
        if (tops[i]->cid == path.front())
            return kDepartmentShapes[i % (sizeof kDepartmentShapes / sizeof kDepartmentShapes[0])];
    return PictureSpec::Shape::Box;
}

std::string firstCharacter(const std::string& utf8)
{
    Poco::UTF8Encoding encoding;
    int length = utf8.empty() ? 0 : encoding.sequenceLength(reinterpret_cast<const unsigned char*>(utf8.data()),
                                                            int(utf8.size()));
    return length > 0 && size_t(length) <= utf8.size() ? utf8.substr(0, size_t(length)) : std::string();
}

void fit(PictureSpec& spec, int box)
{
    if (box <= 0 || (spec.width <= box && spec.height <= box))
        return;
    double scale = std::min(double(box) / spec.width, double(box) / spec.height);
    spec.width = std::max(1, int(spec.width * scale + 0.5));
    spec.height = std::max(1, int(spec.height * scale + 0.5));
}

bool readFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return !bytes.empty();
}

// Written beside the target and renamed, so a reader never sees half a file.
void writeFileAtomically(const std::string& path, const std::string& bytes)
{
    Poco::File(Poco::Path(path).parent()).createDirectories();
    // Test processes share one cache, so the name carries the process too.
    std::ostringstream temporary;
    temporary << path << ".tmp" << Poco::Process::id() << "-" << std::this_thread::get_id();
    {
        std::ofstream out(temporary.str(), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out)
            return;
    }
    std::rename(temporary.str().c_str(), path.c_str());
}

}

PictureStore::PictureStore(const Catalogue& catalogue, const RecommendPackage& package, std::string cacheDir,
                           std::string importDir)
    : catalogue_(catalogue), package_(package), cacheDir_(std::move(cacheDir)), importDir_(std::move(importDir))
{
}

bool PictureStore::parse(const std::string& path, Request& request) const
{
    static const std::string prefix = "/pic/";
    if (path.compare(0, prefix.size(), prefix) != 0)
        return false;
    size_t slash = path.find('/', prefix.size());
    if (slash == std::string::npos)
        return false;
    request.kind = path.substr(prefix.size(), slash - prefix.size());
    static const std::set<std::string> kinds = {"item", "desc", "shop", "rec"};
    if (!kinds.count(request.kind))
        return false;
    std::string name = path.substr(slash + 1);
    size_t dot = name.find(".jpg");
    if (dot == std::string::npos || dot == 0 || dot > 40)
        return false;
    request.key = name.substr(0, dot);
    if (request.key.find_first_not_of("0123456789_") != std::string::npos)
        return false;
    std::string variant = name.substr(dot + 4);
    if (variant == "_b.jpg") {
        request.box = kSmallBox;
    } else if (!variant.empty()) {
        int width = 0, height = 0;
        char tail = 0;
        if (std::sscanf(variant.c_str(), "_%dx%d.jp%c", &width, &height, &tail) != 3 || tail != 'g' ||
            width != height || !kFittedBoxes.count(width) ||
            variant != "_" + std::to_string(width) + "x" + std::to_string(height) + ".jpg")
            return false;
        request.box = width;
    }
    request.cacheName = cacheDir_ + "/" + request.kind + "/" + name;
    return true;
}

bool PictureStore::describe(const Request& request, PictureSpec& spec, std::string& importedFile) const
{
    int64_t key = 0, index = 0;
    size_t underscore = request.key.find('_');
    if (!Poco::NumberParser::tryParse64(request.key.substr(0, underscore), key))
        return false;
    if (underscore != std::string::npos &&
        !Poco::NumberParser::tryParse64(request.key.substr(underscore + 1), index))
        return false;

    if (request.kind == "item" || request.kind == "desc") {
        const Product* product = catalogue_.product(key);
        if (!product || (request.kind == "item") != (underscore == std::string::npos) || index > 2)
            return false;
        const Category* category = catalogue_.category(product->cid);
        spec.shape = departmentShape(catalogue_, product->cid);
        spec.colour = productColour(catalogue_, *product);
        spec.label = category ? category->name : product->title.substr(0, product->title.find(' '));
        spec.caption = product->title.substr(0, product->title.find(' '));
        if (request.kind == "desc") {
            spec.width = 620;
            spec.height = 400;
            spec.label = (index == 1 ? "细节展示 · " : "实物拍摄 · ") + spec.label;
            return true;
        }
        spec.width = product->aspect == 2 ? 400 : 600;
        spec.height = product->aspect == 1 ? 400 : 600;
        importedFile = product->pictureFile.empty() ? std::string() : importDir_ + "/" + product->pictureFile;
        return true;
    }
    if (underscore != std::string::npos)
        return false;
    if (request.kind == "shop") {
        for (const Shop& shop : catalogue_.shops())
            if (shop.sid == key) {
                spec = PictureSpec{240, 240, PictureSpec::Shape::Badge, hashColour(shop.sid), shop.title, "店铺",
                                   firstCharacter(shop.title)};
                return true;
            }
        return false;
    }
    if (request.kind == "rec" && key >= 1 && size_t(key) <= package_.items().size()) {
        const RecommendItem& item = package_.items()[size_t(key - 1)];
        static const PictureSpec::Shape shapes[] = {PictureSpec::Shape::Ball, PictureSpec::Shape::Badge,
                                                    PictureSpec::Shape::Box};
        spec = PictureSpec{key % 3 == 0 ? 480 : 400, 400, shapes[int(item.kind)], hashColour(key),
                           item.cardText, item.className.empty() ? "推荐" : item.className,
                           firstCharacter(item.name)};
        return true;
    }
    return false;
}

bool PictureStore::picture(const std::string& path, std::string& jpeg) const
{
    Request request;
    if (!parse(path, request))
        return false;
    if (readFile(request.cacheName, jpeg))
        return true;
    PictureSpec spec;
    std::string importedFile;
    if (!describe(request, spec, importedFile))
        return false;
    jpeg = produce(request, spec, importedFile);
    writeFileAtomically(request.cacheName, jpeg);
    return true;
}

std::string PictureStore::produce(const Request& request, PictureSpec spec, const std::string& importedFile) const
{
    if (!importedFile.empty()) {
        std::string scaled = scaleImported(importedFile, request.box);
        if (!scaled.empty())
            return scaled;
    }
    fit(spec, request.box);
    return PictureRenderer::render(spec);
}

std::string PictureStore::scaleImported(const std::string& file, int box)
{
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(file.c_str(), 0);
    if (format == FIF_UNKNOWN)
        format = FreeImage_GetFIFFromFilename(file.c_str());
    if (format == FIF_UNKNOWN)
        return std::string();
    using Bitmap = std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)>;
    Bitmap loaded(FreeImage_Load(format, file.c_str(), 0), &FreeImage_Unload);
    if (!loaded)
        return std::string();
    Bitmap rgb(FreeImage_ConvertTo24Bits(loaded.get()), &FreeImage_Unload);
    if (!rgb)
        return std::string();
    PictureSpec size;
    size.width = int(FreeImage_GetWidth(rgb.get()));
    size.height = int(FreeImage_GetHeight(rgb.get()));
    fit(size, box);
    Bitmap scaled(FreeImage_Rescale(rgb.get(), size.width, size.height, FILTER_CATMULLROM), &FreeImage_Unload);
    if (!scaled)
        return std::string();
    return PictureCanvas::encodeJpeg(scaled.get(), 90);
}

}
