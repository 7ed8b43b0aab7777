#pragma once
#include "service/CQXRecommendItem.h"

#include <string>
#include <vector>

// A group of recommendations the user picks in the top panel's class box.
struct CQXRecommendClass
{
    int itemCount() const { return static_cast<int>(items.size()); }

    std::vector<CQXRecommendItem> items;
    int classIndex = 0;
    std::string className;  // system code page
};
