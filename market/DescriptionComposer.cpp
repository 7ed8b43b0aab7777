#include "market/DescriptionComposer.h"

#include "market/Catalogue.h"
#include "market/MarketLinks.h"

namespace market {

namespace {

std::string propertyRows(const Product& product, const Catalogue& catalogue)
{
    std::string rows;
    for (const PropValue& value : catalogue.propValues(product.cid))
        for (const auto& held : product.props)
            if (held.first == value.pid && held.second == value.vid)
                rows += "<tr><th>" + value.propName + "</th><td>" + value.name + "</td></tr>";
    return rows;
}

}

std::string DescriptionComposer::describe(const Product& product, const Catalogue& catalogue, const MarketLinks& links)
{
    if (!product.desc.empty())
        return product.desc;
    const Category* category = catalogue.category(product.cid);
    std::string html = "<h2>" + product.title + "</h2>";
    html += "<p>本店销售的" + (category ? category->name : std::string("商品")) +
            "均为正品，质量保证，欢迎选购。实物拍摄，颜色以实物为准。</p>";
    html += "<h3>商品参数</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"90%\">";
    html += propertyRows(product, catalogue);
    html += "<tr><th>库存</th><td>" + std::to_string(product.num) + " 件</td></tr></table>";
    html += "<h3>实物图片</h3>";
    for (int i = 1; i <= 2; ++i)
        html += "<p><img src=\"" + links.descriptionPicture(product.numIid, i) + "\" /></p>";
    html += "<h3>购买须知</h3><ul><li>付款后48小时内发货。</li><li>支持七天无理由退换货，"
            "退回邮费由买家承担。</li><li>有任何问题请先联系客服，我们会尽快为您解决。</li></ul>";
    return html;
}

}
