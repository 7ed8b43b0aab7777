#include "tests/support/MarketCards.h"

#include "market/Catalogue.h"
#include "platform/CodePage.h"
#include "scene/CCardPainter.h"
#include "scene/CProductWall.h"
#include "taobao/TaobaoXml.h"
#include "tests/support/LocalMarket.h"

#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/StreamCopier.h>
#include <Poco/URI.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string PictureDir()
{
    const char* build = std::getenv("QX_BUILD_DIR");
    const std::string dir = std::string(build && *build ? build : ".") + "/scene-pictures";
    std::filesystem::create_directories(dir);
    return dir;
}

bool Download(const std::string& url, const std::string& file)
{
    const Poco::URI uri(url);
    Poco::Net::HTTPClientSession session(uri.getHost(), uri.getPort());
    Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, uri.getPathEtc());
    session.sendRequest(request);
    Poco::Net::HTTPResponse response;
    std::istream& body = session.receiveResponse(response);
    if (response.getStatus() != Poco::Net::HTTPResponse::HTTP_OK)
        return false;
    std::ofstream out(file, std::ios::binary);
    Poco::StreamCopier::copyStream(body, out);
    return static_cast<bool>(out);
}

}

std::vector<MarketCard> MarketCards::Fetch(int count)
{
    LocalMarket& market = LocalMarket::instance();
    const auto& products = market.server().catalogue().products();
    const std::string dir = PictureDir();
    std::vector<MarketCard> cards;
    for (size_t i = 0; i < products.size() && static_cast<int>(cards.size()) < count; ++i) {
        const market::Product& product = products[i];
        MarketCard card;
        card.numIid = std::to_string(product.numIid);
        card.title = CodePage::Utf8ToGbk(product.title);
        card.price = TaobaoXml::formatFixed2(product.priceCents / 100.0);
        card.saleType = CodePage::Utf8ToGbk(product.type == "auction" ? "拍卖" : "一口价");
        card.picturePath = dir + "/" + card.numIid + ".jpg";
        if (!std::filesystem::exists(card.picturePath) &&
            !Download(market.serviceUrl() + "/pic/item/" + card.numIid + ".jpg_b.jpg", card.picturePath))
            continue;
        cards.push_back(card);
    }
    return cards;
}

bool MarketCards::AddToWall(CProductWall& wall, int index, const MarketCard& card, RenderDevice& device)
{
    TexturePtr text = CCardPainter::DrawProductCard(card.price, card.saleType, index, card.title, device);
    TexturePtr picture = CCardPainter::LoadPictureTexture(card.picturePath, device);
    return wall.AddProductCard(index, card.picturePath, card.numIid, std::move(picture), std::move(text));
}
