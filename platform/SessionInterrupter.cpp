#include "platform/SessionInterrupter.h"

#include <Poco/Exception.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/StreamSocket.h>

namespace {

void ShutDown(Poco::Net::HTTPClientSession& session)
{
    try {
        session.socket().shutdown();
    } catch (const Poco::Exception&) {
        // Not connected or already gone: its thread is not waiting on it.
    }
}

}

// Never destroyed: a download thread may still let go of its session while
// the process exits.
SessionInterrupter& SessionInterrupter::getInstance()
{
    static SessionInterrupter* instance = new SessionInterrupter;
    return *instance;
}

SessionInterrupter::Waiting::Waiting(Poco::Net::HTTPClientSession& session) : m_session(session)
{
    SessionInterrupter& owner = getInstance();
    std::lock_guard<std::mutex> guard(owner.m_lock);
    if (owner.m_interrupted)
        throw Poco::IOException("the program is quitting");
    owner.m_waiting.insert(&m_session);
}

SessionInterrupter::Waiting::~Waiting()
{
    SessionInterrupter& owner = getInstance();
    std::lock_guard<std::mutex> guard(owner.m_lock);
    owner.m_waiting.erase(&m_session);
}

void SessionInterrupter::InterruptAll()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_interrupted = true;
    for (Poco::Net::HTTPClientSession* session : m_waiting)
        ShutDown(*session);
}

bool SessionInterrupter::IsInterrupted() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_interrupted;
}

void SessionInterrupter::Reset()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_interrupted = false;
}
