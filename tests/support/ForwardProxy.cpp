#include "tests/support/ForwardProxy.h"

#include <Poco/Exception.h>
#include <Poco/Net/SocketAddress.h>
#include <Poco/Net/StreamSocket.h>
#include <Poco/String.h>
#include <Poco/URI.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSliceMs = 100;
constexpr auto kIdleLimit = std::chrono::seconds(10);
constexpr size_t kMaxHead = 64 * 1024;
constexpr size_t kRecordedBytes = 64;
const Poco::Timespan kConnectTimeout(2, 0);

void SendAll(Poco::Net::StreamSocket& socket, const char* data, size_t size)
{
    while (size > 0) {
        const int sent = socket.sendBytes(data, static_cast<int>(size));
        if (sent <= 0)
            throw Poco::IOException("send failed");
        data += sent;
        size -= static_cast<size_t>(sent);
    }
}

void SendAll(Poco::Net::StreamSocket& socket, const std::string& bytes)
{
    SendAll(socket, bytes.data(), bytes.size());
}

bool Readable(Poco::Net::StreamSocket& socket)
{
    return socket.poll(Poco::Timespan(0, kSliceMs * 1000), Poco::Net::Socket::SELECT_READ);
}

}

ForwardProxy::ForwardProxy() : ForwardProxy(0)
{
}

ForwardProxy::ForwardProxy(uint16_t relayPort) : m_relayPort(relayPort)
{
    m_socket.bind(Poco::Net::SocketAddress("127.0.0.1", 0), true);
    m_socket.listen(16);
    m_acceptor = std::thread([this] { Accept(); });
}

ForwardProxy::~ForwardProxy()
{
    m_stopping = true;
    m_acceptor.join();
    for (std::thread& connection : m_connections)
        connection.join();
}

uint16_t ForwardProxy::port() const
{
    return m_socket.address().port();
}

std::string ForwardProxy::url() const
{
    return "http://127.0.0.1:" + std::to_string(port());
}

std::vector<ForwardProxy::Request> ForwardProxy::requests() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

size_t ForwardProxy::Record(const Request& request)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_requests.push_back(request);
    return m_requests.size() - 1;
}

void ForwardProxy::Accept()
{
    while (!m_stopping) {
        if (!m_socket.poll(Poco::Timespan(0, kSliceMs * 1000), Poco::Net::Socket::SELECT_READ))
            continue;
        try {
            Poco::Net::StreamSocket client = m_socket.acceptConnection();
            m_connections.emplace_back([this, client] { Serve(client); });
        } catch (const Poco::Exception&) {
        }
    }
}

void ForwardProxy::Serve(Poco::Net::StreamSocket client)
{
    try {
        Poco::Net::StreamSocket server;
        if (m_relayPort != 0) {
            const size_t record = Record(Request{"RELAY", "", "", ""});
            server.connect(Poco::Net::SocketAddress("127.0.0.1", m_relayPort), kConnectTimeout);
            Tunnel(client, server, record);
            return;
        }
        // The request's head, and whatever came after it.
        std::string bytes;
        size_t headEnd = std::string::npos;
        const auto deadline = Clock::now() + kIdleLimit;
        char buffer[4096];
        while ((headEnd = bytes.find("\r\n\r\n")) == std::string::npos) {
            if (m_stopping || Clock::now() > deadline || bytes.size() > kMaxHead)
                return;
            if (!Readable(client))
                continue;
            const int got = client.receiveBytes(buffer, sizeof buffer);
            if (got <= 0)
                return;
            bytes.append(buffer, static_cast<size_t>(got));
        }
        const std::string rest = bytes.substr(headEnd + 4);
        std::istringstream head(bytes.substr(0, headEnd));
        std::string line;
        std::getline(head, line);
        Request request;
        std::istringstream(line) >> request.method >> request.target;
        std::string forwarded;
        while (std::getline(head, line)) {
            Poco::trimRightInPlace(line);
            const std::string name = Poco::toLower(Poco::trim(line.substr(0, line.find(':'))));
            if (name == "proxy-authorization")
                request.proxyAuthorization = Poco::trim(line.substr(line.find(':') + 1));
            else if (name != "proxy-connection" && name != "connection" && name != "keep-alive")
                forwarded += line + "\r\n";
        }
        const size_t record = Record(request);
        if (request.method == "CONNECT") {
            server.connect(Poco::Net::SocketAddress(request.target), kConnectTimeout);
            SendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n");
            Tunnel(client, server, record);
            return;
        }
        const Poco::URI origin(request.target);
        if (origin.getScheme() != "http" || origin.getHost().empty()) {
            SendAll(client, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            return;
        }
        server.connect(Poco::Net::SocketAddress(origin.getHost(), origin.getPort()), kConnectTimeout);
        SendAll(server, request.method + " " + origin.getPathEtc() + " HTTP/1.1\r\n" + forwarded +
                            "Connection: close\r\n\r\n" + rest);
        Tunnel(client, server, std::string::npos);
    } catch (const Poco::Exception&) {
        // The client or the origin went away: the connection ends here.
    }
}

// Passes bytes both ways until either side closes, the proxy stops or
// nothing moves for a while.
void ForwardProxy::Tunnel(Poco::Net::StreamSocket& client, Poco::Net::StreamSocket& server, size_t record)
{
    pollfd sides[2] = {{client.impl()->sockfd(), POLLIN, 0}, {server.impl()->sockfd(), POLLIN, 0}};
    char buffer[16384];
    auto idleSince = Clock::now();
    while (!m_stopping && Clock::now() - idleSince < kIdleLimit) {
        if (::poll(sides, 2, kSliceMs) <= 0)
            continue;
        idleSince = Clock::now();
        for (int i = 0; i < 2; ++i) {
            if (!(sides[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            Poco::Net::StreamSocket& from = i == 0 ? client : server;
            Poco::Net::StreamSocket& to = i == 0 ? server : client;
            const int got = from.receiveBytes(buffer, sizeof buffer);
            if (got <= 0)
                return;
            if (i == 0 && record != std::string::npos) {
                std::lock_guard<std::mutex> guard(m_lock);
                std::string& seen = m_requests[record].clientBytes;
                seen.append(buffer, std::min(static_cast<size_t>(got), kRecordedBytes - std::min(seen.size(), kRecordedBytes)));
            }
            SendAll(to, buffer, static_cast<size_t>(got));
        }
    }
}
