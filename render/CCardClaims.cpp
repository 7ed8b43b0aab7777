#include "render/CCardClaims.h"

// Never destroyed: claims may end on any thread until the process exits.
CCardClaims& CCardClaims::getInstance()
{
    static CCardClaims* instance = new CCardClaims;
    return *instance;
}

CCardClaims::ClaimPtr CCardClaims::TryClaim(int searchId, int position)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_claimed.insert({searchId, position}).second)
        return nullptr;
    return std::make_shared<const Claim>(*this, searchId, position);
}

bool CCardClaims::IsClaimed(int searchId, int position) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_claimed.count({searchId, position}) > 0;
}

size_t CCardClaims::Count() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_claimed.size();
}

void CCardClaims::Release(int searchId, int position)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_claimed.erase({searchId, position});
}

CCardClaims::Claim::Claim(CCardClaims& owner, int searchId, int position)
    : m_owner(owner), m_searchId(searchId), m_position(position)
{
}

CCardClaims::Claim::~Claim()
{
    m_owner.Release(m_searchId, m_position);
}
