#include "platform/SessionInterrupter.h"

#include <Poco/Exception.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/StreamSocket.h>

#include <sys/socket.h>

namespace {

// The descriptor itself is shut down, not the socket object: over TLS the
// latter would run SSL_shutdown on a connection its own thread is reading,
// which OpenSSL does not allow from two threads at once.
void ShutDown(Poco::Net::HTTPClientSession& session)
{
    const poco_socket_t descriptor = session.socket().impl()->sockfd();
    if (descriptor != POCO_INVALID_SOCKET)
        ::shutdown(descriptor, SHUT_RDWR);
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
