#include "taobao/CTaobaoCategoryCounts.h"
#include "taobao/CTaobaoCategoryMap.h"
#include "taobao/CTaobaoConnector.h"
#include "taobao/CTaobaoPropertyStorage.h"
#include "taobao/TaobaoCategoryDetailsVisitor.h"
#include "taobao/TaobaoCategoryVisitor.h"
#include "taobao/TaobaoPropertyVisitor.h"
#include "taobao/TaobaoXml.h"

#include <gtest/gtest.h>

namespace
{

CTaobaoCategory category(const std::string& cid, const std::string& parent, bool isParent = false)
{
    return CTaobaoCategory{cid, "name" + cid, parent, isParent};
}

std::vector<std::string> cidsOf(const std::vector<const CTaobaoCategory*>& records)
{
    std::vector<std::string> cids;
    for (const CTaobaoCategory* record : records)
        cids.push_back(record->cid);
    return cids;
}

using Strings = std::vector<std::string>;

}

TEST(CategoryVisitor, CollectsIdsAndCountsOfCompleteEntries)
{
    TaobaoCategoryVisitor visitor;
    TaobaoXml::walk("<r><item_categories><category_list><category_id>50</category_id><count>7</count></category_list>"
                    "<category_list><category_id>51</category_id></category_list>"
                    "<category_list><category_id>52</category_id><count>3</count></category_list>"
                    "</item_categories></r>",
                    visitor);
    EXPECT_EQ(visitor.ids, (Strings{"50", "52"}));
    EXPECT_EQ(visitor.counts, (Strings{"7", "3"}));
}

TEST(CategoryDetailsVisitor, IsParentRules)
{
    TaobaoCategoryDetailsVisitor visitor;
    TaobaoXml::walk("<r><item_cats>"
                    "<item_cat><cid>1</cid><parent_cid>0</parent_cid><name>女装</name></item_cat>"
                    "<item_cat><cid>2</cid><parent_cid>16</parent_cid><name>b</name></item_cat>"
                    "<item_cat><cid>3</cid><parent_cid>16</parent_cid><name>c</name><is_parent>false</is_parent></item_cat>"
                    "<seller_cat><cid>4</cid><parent_cid>16</parent_cid><name/><is_parent>true</is_parent></seller_cat>"
                    "<item_cat><cid>5</cid><parent_cid>0</parent_cid><name>e</name><is_parent/></item_cat>"
                    "<item_cat><cid>6</cid><name>no parent</name></item_cat>"
                    "</item_cats></r>",
                    visitor);
    ASSERT_EQ(visitor.categories.size(), 5u);
    EXPECT_TRUE(visitor.categories[0].is_parent);
    EXPECT_EQ(visitor.categories[0].name, "\xC5\xAE\xD7\xB0");
    EXPECT_FALSE(visitor.categories[1].is_parent);
    EXPECT_FALSE(visitor.categories[2].is_parent);
    EXPECT_TRUE(visitor.categories[3].is_parent);
    EXPECT_TRUE(visitor.categories[3].name.empty());
    EXPECT_TRUE(visitor.categories[4].is_parent);
}

TEST(PropertyVisitor, HeadersStartWheneverThePropertyChanges)
{
    auto entriesOf = [](const char* values) {
        TaobaoPropertyVisitor visitor;
        TaobaoXml::walk(std::string("<r>") + values + "</r>", visitor);
        return visitor.entries;
    };
    const char* red = "<prop_value><pid>1</pid><prop_name>颜色</prop_name><vid>11</vid><name>红</name></prop_value>";
    const char* blue = "<prop_value><pid>1</pid><prop_name>颜色</prop_name><vid>12</vid><name>蓝</name></prop_value>";
    const char* large = "<prop_value><pid>2</pid><prop_name>尺码</prop_name><vid>21</vid><name>L</name></prop_value>";
    const char* broken = "<prop_value><pid>2</pid><vid>22</vid><name>M</name></prop_value>";

    auto grouped = entriesOf((std::string(red) + blue + broken + large).c_str());
    ASSERT_EQ(grouped.size(), 5u);
    EXPECT_EQ(grouped[0].id, "1");
    EXPECT_EQ(grouped[0].name, "\xD1\xD5\xC9\xAB");
    EXPECT_TRUE(grouped[0].parent.empty());
    EXPECT_EQ(grouped[1].id, "11");
    EXPECT_EQ(grouped[1].parent, "1");
    EXPECT_EQ(grouped[2].id, "12");
    EXPECT_EQ(grouped[3].id, "2");
    EXPECT_EQ(grouped[4].name, "L");

    auto interrupted = entriesOf((std::string(red) + large + blue).c_str());
    ASSERT_EQ(interrupted.size(), 6u);
    EXPECT_EQ(interrupted[4].id, "1");
    EXPECT_TRUE(interrupted[4].parent.empty());
}

TEST(CategoryCounts, AppendCopyReset)
{
    CTaobaoCategoryCounts counts;
    EXPECT_FALSE(counts.addCounts({}, {}));
    EXPECT_TRUE(counts.addCounts({"1", "2"}, {"10", "20"}));
    EXPECT_TRUE(counts.addCounts({"1"}, {"11"}));
    Strings ids{"x"};
    Strings values{"y"};
    EXPECT_TRUE(counts.copyCounts(ids, values));
    EXPECT_EQ(ids, (Strings{"x", "1", "2", "1"}));
    EXPECT_EQ(values, (Strings{"y", "10", "20", "11"}));
    counts.reset();
    Strings none;
    EXPECT_FALSE(counts.copyCounts(none, none));
    EXPECT_TRUE(none.empty());
}

TEST(CategoryMap, OnlyTheTopMostOfferedLevelSurvives)
{
    CTaobaoCategoryMap map;
    map.addCategories({category("50", "0", true), category("1201", "50"), category("1202", "50")}, {"7", "3", "4"});
    std::vector<const CTaobaoCategory*> records;
    Strings counts;
    ASSERT_TRUE(map.getChildren("", records, counts));
    EXPECT_EQ(cidsOf(records), (Strings{"50"}));
    EXPECT_EQ(counts, (Strings{"7"}));

    map.addCategories({category("1201", "50"), category("50", "0")}, {"3", "99"});
    EXPECT_FALSE(map.hasChildren("50"));
    map.addCategories({category("1201", "50"), category("1202", "50")}, {"3", "4"});
    records.clear();
    counts.clear();
    ASSERT_TRUE(map.getChildren("50", records, counts));
    EXPECT_EQ(cidsOf(records), (Strings{"1201", "1202"}));
    EXPECT_EQ(counts, (Strings{"3", "4"}));
    records.clear();
    counts.clear();
    map.getChildren("", records, counts);
    EXPECT_EQ(counts, (Strings{"7", "3", "4"}));
    EXPECT_TRUE(map.hasChildren("50"));
    EXPECT_FALSE(map.hasChildren("1201"));
    EXPECT_TRUE(map.isParentCategory("50"));
    EXPECT_FALSE(map.isParentCategory("1201"));
    EXPECT_TRUE(map.isParentCategory("unknown"));

    map.clear();
    records.clear();
    EXPECT_FALSE(map.getChildren("", records, counts));
}

TEST(CategoryMap, RollUpSumsChildrenIntoTheirParents)
{
    CTaobaoConnector::CountById counts{{"50", "7"}, {"1201", "3"}, {"1202", "4"}, {"16", "5"}, {"300", "2"}};
    auto rolled = CTaobaoConnector::rollUpCategoryCounts(
        {category("50", "0"), category("1201", "50"), category("1202", "50"), category("300", "30")}, counts);
    EXPECT_EQ(rolled, (CTaobaoConnector::CountById{{"50", "14"}, {"30", "2"}}));

    auto reset = CTaobaoConnector::rollUpCategoryCounts(
        {category("1201", "50"), category("1202", "50"), category("50", "0")}, counts);
    EXPECT_EQ(reset, (CTaobaoConnector::CountById{{"50", "7"}}));
}

TEST(PropertyStorage, KeepsOneCategoryAndRefusesStaleAnswers)
{
    CTaobaoPropertyStorage storage;
    std::vector<CTaobaoPropertyEntry> entries{{"1", "colour", ""}, {"11", "red", "1"}};
    EXPECT_FALSE(storage.needsProperties(""));
    EXPECT_TRUE(storage.needsProperties("16"));
    EXPECT_FALSE(storage.setProperties(entries, "16", "17"));
    EXPECT_TRUE(storage.needsProperties("16"));

    EXPECT_TRUE(storage.setProperties({}, "16", "16"));
    EXPECT_TRUE(storage.needsProperties("16"));
    EXPECT_TRUE(storage.setProperties(entries, "16", "16"));
    EXPECT_FALSE(storage.needsProperties("16"));
    EXPECT_TRUE(storage.needsProperties("17"));

    std::vector<CTaobaoPropertyEntry> out;
    EXPECT_FALSE(storage.copyProperties("17", out));
    ASSERT_TRUE(storage.copyProperties("16", out));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].parent, "1");
    storage.clear();
    EXPECT_TRUE(storage.needsProperties("16"));
}
