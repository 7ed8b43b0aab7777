#pragma once

#include <Poco/Net/ServerSocket.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A forward proxy on 127.0.0.1 for tests, recording what it was asked:
// absolute-URI requests ("GET http://host:port/path") are passed on to
// their origin, CONNECT opens a tunnel. Built with a relay port instead, it
// passes every connection straight on to that port, as a tunnel would: a
// tap in front of a server.
class ForwardProxy
{
public:
    struct Request
    {
        std::string method;               // "GET", "POST", "CONNECT"; "RELAY" for a tap
        std::string target;               // as written in the request line
        std::string proxyAuthorization;   // the header's value, "" without one
        std::string clientBytes;          // the first bytes the client sent into a tunnel
    };

    ForwardProxy();
    explicit ForwardProxy(uint16_t relayPort);
    ~ForwardProxy();
    ForwardProxy(const ForwardProxy&) = delete;
    ForwardProxy& operator=(const ForwardProxy&) = delete;

    uint16_t port() const;
    std::string url() const;   // "http://127.0.0.1:<port>"
    std::vector<Request> requests() const;

private:
    void Accept();
    void Serve(Poco::Net::StreamSocket client);
    void Tunnel(Poco::Net::StreamSocket& client, Poco::Net::StreamSocket& server, size_t record);
    size_t Record(const Request& request);

    const uint16_t m_relayPort;
    Poco::Net::ServerSocket m_socket;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_lock;
    std::vector<Request> m_requests;
    std::vector<std::thread> m_connections;
    std::thread m_acceptor;
};
