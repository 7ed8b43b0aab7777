#pragma once
#include "taobao/CTaobaoMap.h"
#include "taobao/CTaobaoProductInfo.h"

#include <memory>
#include <vector>

// The products of the current browse by their position, from 0.
class CTaobaoProductMap : public CTaobaoMap<int, std::unique_ptr<CTaobaoProductInfo>>
{
public:
    using Products = std::vector<std::unique_ptr<CTaobaoProductInfo>>;

    // A position already taken keeps its first product; the offered one is dropped.
    void insertProduct(int index, std::unique_ptr<CTaobaoProductInfo> product);
    // Two parallel sequences; extra entries of the longer one are dropped.
    void insertProducts(const std::vector<int>& indices, Products products);

    bool copyProduct(int index, CTaobaoProductInfo& out) const;
    bool copyPictureURL(int index, std::string& out) const;
    bool empty() const;
};
