#pragma once

#include <Poco/Event.h>

#include <mutex>
#include <string>

namespace market {

// What goes wrong on purpose, for testing how the client copes.
enum class Fault {
    None,
    ErrorAnswer,      // gateway answers "error_rsp" (App Call Limited)
    DropConnection,   // the connection closes without an answer
    GarbageBody,      // 200 with a body that is not XML nor a picture
    EmptyBody,        // 200 with an empty body
    Http500,          // internal server error
    ShortPicture,     // pictures of at most 1024 bytes
    CorruptPicture,   // pictures that are long enough but not a JPEG
    ErrorPage,        // 404 with a long HTML page, as a proxy sends for a missing file
    OversizedBody,    // 200 whose body ends, but only after 32 MiB
    EndlessBody,      // 200 whose body never ends, sent as fast as the client reads
    TrickleBody,      // 200 whose body never ends, one byte every 50 ms
};

enum class FaultScope { All, Gateway, Pictures, Service };

struct FaultSettings {
    Fault fault = Fault::None;
    FaultScope scope = FaultScope::All;
    int remaining = -1;    // how many requests in scope the fault hits; -1: every one
    int latencyMs = 0;     // added before every answer in scope
};

// Holds the current fault settings and decides, request by request, which
// fault applies. Thread-safe; latency waits end early when the market stops.
class FaultInjector {
public:
    void set(const FaultSettings& settings);
    FaultSettings settings() const;

    // The fault for one request to the given part of the market, after its
    // latency has been waited. Counts the request against "remaining".
    Fault next(FaultScope part);
    void setStopping(bool stopping);   // while stopping, latency waits end at once
    bool waitStopping(int ms);         // true once the market stops

    static bool parseFault(const std::string& name, Fault& fault);
    static bool parseScope(const std::string& name, FaultScope& scope);
    static std::string faultName(Fault fault);
    static std::string scopeName(FaultScope scope);

private:
    mutable std::mutex mutex_;
    FaultSettings settings_;
    Poco::Event stopping_{Poco::Event::EVENT_MANUALRESET};
};

}
