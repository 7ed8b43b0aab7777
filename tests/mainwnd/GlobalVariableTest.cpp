#include "mainwnd/CQX_GlobalVariable.h"

#include <gtest/gtest.h>

TEST(GlobalVariable, FreshInstanceHasDefaults)
{
    CQX_GlobalVariable g;
    EXPECT_EQ(g.GetClientHeight(), 40);
    EXPECT_EQ(g.GetSpeedLevel(), 2);
    EXPECT_EQ(g.GetSearchID(), 0);
    EXPECT_FALSE(g.IsQuitting());
}

TEST(GlobalVariable, SearchWordsKeepTenDistinct)
{
    CQX_GlobalVariable g;
    g.AddSearchWord("a");
    g.AddSearchWord("a");
    EXPECT_EQ(g.GetSearchWords(), "a-");
    for (int i = 0; i < 12; ++i)
        g.AddSearchWord("w" + std::to_string(i));
    EXPECT_EQ(g.GetSearchWords(), "a-w0-w1-w2-w3-w4-w5-w6-w7-w8-");
}

TEST(GlobalVariable, SearchIdChangesAccumulate)
{
    CQX_GlobalVariable g;
    g.SearchIDChange();
    g.SearchIDChange();
    EXPECT_EQ(g.GetSearchID(), 2);
}

TEST(GlobalVariable, ActionCountersIgnoreOutOfRange)
{
    CQX_GlobalVariable g;
    g.IncAction(CQX_GlobalVariable::ActSearchInShop);
    g.IncAction(CQX_GlobalVariable::ActSearchInShop);
    g.IncAction(17);
    g.IncAction(-1);
    EXPECT_EQ(g.GetActionCounter(15), 2u);
    EXPECT_EQ(g.GetActionCounter(17), 0u);
}
