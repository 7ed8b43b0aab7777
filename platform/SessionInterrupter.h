#pragma once
#include <mutex>
#include <set>

namespace Poco {
namespace Net {
class HTTPClientSession;
}
}

// The HTTP sessions waiting for an answer, so that quitting ends them at once
// instead of waiting out their time-outs: a server that never answers must
// not hold the program up. A session is shut down, never closed, from the
// quitting thread; its own thread sees the read fail and lets it go.
class SessionInterrupter
{
public:
    static SessionInterrupter& getInstance();

    // Registers a session whose request was sent, for as long as it lives.
    // Throws Poco::IOException once quitting began, so no new wait starts.
    class Waiting
    {
    public:
        explicit Waiting(Poco::Net::HTTPClientSession& session);
        ~Waiting();
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;

    private:
        Poco::Net::HTTPClientSession& m_session;
    };

    // Shuts every waiting session down and refuses later ones.
    void InterruptAll();
    bool IsInterrupted() const;
    // For tests: lets sessions wait again.
    void Reset();

    SessionInterrupter() = default;
    SessionInterrupter(const SessionInterrupter&) = delete;
    SessionInterrupter& operator=(const SessionInterrupter&) = delete;

private:
    mutable std::mutex m_lock;
    std::set<Poco::Net::HTTPClientSession*> m_waiting;
    bool m_interrupted = false;
};
