// Turning one 200-item search page into product records: XML parsing, the
// product visitor, the GBK conversion and HtmlToText of every title, and the
// category statistics read from the same page.
#include "taobao/TaobaoCategoryVisitor.h"
#include "taobao/TaobaoProductVisitor.h"
#include "taobao/TaobaoXml.h"

#include <benchmark/benchmark.h>

namespace
{

std::string searchPage(int items)
{
    std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><items_search_response><items list=\"true\">";
    for (int i = 0; i < items; ++i) {
        std::string id = std::to_string(500000 + i);
        body += "<item_list><num_iid>" + id + "</num_iid><title><![CDATA[2026新款<span class=H>连衣裙</span>"
                "夏季女装韩版修身显瘦&amp;气质长裙 " + id + "]]></title><nick>杭州小铺" + std::to_string(i % 37) +
                "</nick><pic_path>http://127.0.0.1:8600/pic/" + id + ".jpg</pic_path><type>fixed</type>"
                "<price>" + std::to_string(i * 7 % 900) + ".5</price><volume>" + std::to_string(i * 13 % 4000) +
                "</volume></item_list>";
    }
    body += "</items><item_categories list=\"true\">";
    for (int c = 0; c < 20; ++c)
        body += "<category_list><category_id>" + std::to_string(50000 + c) + "</category_id><count>" +
                std::to_string(100 + c) + "</count></category_list>";
    return body + "</item_categories><totalResults>48213</totalResults></items_search_response>";
}

void BM_ParseSearchPage(benchmark::State& state)
{
    const std::string body = searchPage(200);
    for (auto _ : state) {
        std::vector<int> indices;
        std::vector<std::unique_ptr<CTaobaoProductInfo>> products;
        int total = 0;
        parseProductList(body, 400, indices, products, total);
        TaobaoCategoryVisitor categories;
        TaobaoXml::walk(body, categories);
        if (products.size() != 200 || categories.ids.size() != 20)
            state.SkipWithError("page not read completely");
        benchmark::DoNotOptimize(products.data());
    }
    state.SetLabel(std::to_string(body.size()) + " bytes");
}

}

BENCHMARK(BM_ParseSearchPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
