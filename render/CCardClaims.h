#pragma once
#include <memory>
#include <mutex>
#include <set>
#include <utility>

// The positions of a search whose card is on its way: its picture taken by a
// picture thread, its placeholder or card message queued or being prepared.
// The wall asks for every missing position again whenever its first visible
// index changes; a claimed position is not worked on a second time. A claim
// is held by everything that carries the position's work and ends when the
// last of them is gone, whichever thread lets go of it.
class CCardClaims
{
public:
    class Claim;
    using ClaimPtr = std::shared_ptr<const Claim>;

    static CCardClaims& getInstance();

    // Null when the position is claimed already.
    ClaimPtr TryClaim(int searchId, int position);
    bool IsClaimed(int searchId, int position) const;
    size_t Count() const;

    CCardClaims() = default;
    CCardClaims(const CCardClaims&) = delete;
    CCardClaims& operator=(const CCardClaims&) = delete;

private:
    void Release(int searchId, int position);

    mutable std::mutex m_lock;
    std::set<std::pair<int, int>> m_claimed;
};

class CCardClaims::Claim
{
public:
    Claim(CCardClaims& owner, int searchId, int position);
    ~Claim();
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;

private:
    CCardClaims& m_owner;
    int m_searchId;
    int m_position;
};
