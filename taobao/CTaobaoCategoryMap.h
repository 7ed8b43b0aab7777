#pragma once
#include "taobao/CTaobaoCategory.h"
#include "taobao/CTaobaoMap.h"

#include <memory>
#include <string>
#include <vector>

// The categories found for the current search: their records in the order
// they were added, and their result counts by cid.
class CTaobaoCategoryMap : public CTaobaoMap<std::string, std::string>
{
public:
    using Strings = std::vector<std::string>;

    // Of the offered records only the top-most level survives (a record whose
    // parent is among the offered ones is dropped); a cid already stored
    // keeps its first record and count.
    void addCategories(std::vector<CTaobaoCategory> records, const Strings& counts);
    // Records whose parent is parentCid (all of them for an empty parentCid),
    // with their counts. The pointers stay valid until the next clear().
    bool getChildren(const std::string& parentCid, std::vector<const CTaobaoCategory*>& records,
                     Strings& counts) const;
    // True also for a category not stored.
    bool isParentCategory(const std::string& cid) const;
    bool hasChildren(const std::string& cid) const;
    void clear() override;

private:
    std::vector<std::unique_ptr<CTaobaoCategory>> m_records;
};
