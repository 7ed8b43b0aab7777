#pragma once
#include <Poco/RWLock.h>

#include <string>
#include <vector>

// Category ids and how many results of the current search fall into each,
// gathered from the search pages. Entry i of both lists belongs together.
class CTaobaoCategoryCounts
{
public:
    using Strings = std::vector<std::string>;

    // Appends the pairs as they come; true when there was at least one id.
    bool addCounts(const Strings& ids, const Strings& counts);
    bool copyCounts(Strings& ids, Strings& counts) const;
    void reset();

private:
    mutable Poco::RWLock m_lock;
    Strings m_ids;
    Strings m_counts;
};
