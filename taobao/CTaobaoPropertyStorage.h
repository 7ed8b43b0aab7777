#pragma once
#include "taobao/CTaobaoPropertyEntry.h"

#include <Poco/RWLock.h>

#include <string>
#include <vector>

// The property headers and values of one category at a time.
class CTaobaoPropertyStorage
{
public:
    virtual ~CTaobaoPropertyStorage() = default;

    // Replaces what is stored, unless cid is no longer the category the
    // current search filters (searchCid): a stale answer changes nothing.
    bool setProperties(const std::vector<CTaobaoPropertyEntry>& entries, const std::string& cid,
                       const std::string& searchCid);
    bool copyProperties(const std::string& cid, std::vector<CTaobaoPropertyEntry>& out) const;
    // Whether the properties of cid still have to be asked for.
    bool needsProperties(const std::string& cid) const;
    void clear();

private:
    std::vector<CTaobaoPropertyEntry> m_entries;
    std::string m_cid;
    mutable Poco::RWLock m_lock;
};
