#include "tests/support/HostilePages.h"

namespace {

std::string Repeat(const std::string& part, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

const char kMalformed[] = "<p>\xFF\xFE\xC3\x28\xE2\x82\x28\0after</p>";

}

std::vector<NamedPage> HostilePages()
{
    return {
        {"negative colspan", "<table><tr><td colspan=-1>a</td><td>b</td></tr></table>"},
        {"huge colspan", "<table><tr><td colspan=2147483647>a</td></tr><tr><td>b</td></tr></table>"},
        {"negative rowspan", "<table><tr><td rowspan=-5>a</td></tr><tr><td>b</td></tr></table>"},
        {"huge rowspan", "<table><tr><td rowspan=99999999>a</td><td>b</td></tr></table>"},
        {"zero and junk spans", "<table><tr><td colspan=0 rowspan=x>a</td><th colspan=' 3e9'>b</th></tr></table>"},
        {"unclosed nesting", Repeat("<div>", 60000) + "deep"},
        {"unclosed inline nesting", Repeat("<b><i><u><span>", 20000) + "deep"},
        {"nested tables", Repeat("<table><tr><td>", 40) + "x" + Repeat("</td></tr></table>", 40)},
        {"unclosed nested tables", Repeat("<table><tr><td>", 3000)},
        {"scripted links", "<a href='javascript:alert(1)'>a</a><img src='javascript:alert(2)'>"
                           "<link rel=stylesheet href='javascript:alert(3)'><img src='file:///etc/passwd'>"},
        {"imports", "<style>@import url(file:///etc/passwd); @import url(javascript:x);</style><p>x</p>"},
        {"unreachable pictures", "<img src='http://127.0.0.1:1/a.jpg'><div style=\"background:url("
                                 "'http://127.0.0.1:1/b.png') repeat\">x</div>"},
        {"huge sizes", "<p style='font-size:100000px'>big</p><img width=2000000000 height=2000000000>"
                       "<div style='width:99999999px;height:99999999px;margin-left:-99999999px'>x</div>"},
        {"negative sizes", "<img width=-50 height=-50><div style='width:-10px;padding:-5px;border:-3px solid'>x</div>"},
        {"malformed bytes", std::string(kMalformed, sizeof(kMalformed) - 1)},
        {"unterminated", "<div><table><tr><td><!-- never closed <p>"},
        {"broken tags", "<<<>>><//p></></ div><div <div>>x</div <p/><br/ ><img/src=x>"},
        {"many columns", "<table><tr>" + Repeat("<td>c</td>", 3000) + "</tr></table>"},
        {"many rows", "<table>" + Repeat("<tr><td>r</td><td>s</td></tr>", 3000) + "</table>"},
        {"lists", Repeat("<ul><li>", 500) + Repeat("<ol start=-5><li value=-1>", 500)},
        {"floats and positions", Repeat("<div style='float:left;position:absolute;top:-1px'>f", 300)},
        {"empty", ""},
        {"text only", "只有文字，没有标签。"},
        {"style torture", "<style>" + Repeat("div div div ", 500) + "{color:red}*{display:table-cell}</style>"
                          "<div><p>x</p></div>"},
        {"display chaos", "<span style='display:table-row'><b style='display:table'>"
                          "<i style='display:list-item;list-style-image:url(javascript:x)'>x</i></b></span>"},
    };
}

std::vector<NamedPage> HeavyPages()
{
    return {
        {"huge spans", "<table>" + Repeat("<tr><td colspan=1000 rowspan=3000>x</td></tr>", 3000) + "</table>"},
        {"long row", "<table><tr>" + Repeat("<td colspan=1000>cell</td>", 3000) + "</tr></table>"},
        {"deep nesting", Repeat("<div style='padding-left:1px'><span>", 20000) + "deep"},
        {"unclosed tags", "text before " + Repeat("<a", 3500000)},
    };
}

std::string SellerDescription(size_t bytes, const std::vector<std::string>& pictures)
{
    const std::string sentence = "本店所有商品均为正品行货，支持专柜验货，假一赔十。实物拍摄，颜色以实物为准。";
    std::string html = "<div style=\"font-family:宋体;font-size:14px;color:#333333;line-height:1.6\">";
    for (size_t block = 0; html.size() < bytes; ++block) {
        html += "<p style=\"text-indent:2em\"><b>细节" + std::to_string(block) + "：</b>" + sentence + sentence + "</p>";
        if (block % 3 == 0) {
            html += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"90%\">";
            for (int row = 0; row < 4; ++row)
                html += "<tr><th>参数" + std::to_string(row) + "</th><td>" + sentence.substr(0, 30) + "</td></tr>";
            html += "</table>";
        }
        if (block < pictures.size())
            html += "<p style=\"text-align:center\"><img src=\"" + pictures[block] + "\" /></p>";
    }
    return html + "</div>";
}
