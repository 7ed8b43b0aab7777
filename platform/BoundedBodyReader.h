#pragma once

#include <chrono>
#include <cstddef>
#include <istream>
#include <string>

// How much of an answer's body one use accepts, and for how long it waits.
struct BodyLimits {
    size_t maxBytes;
    std::chrono::milliseconds maxTime;
};

// Reads an answer's body within its limits. A body that passes maxBytes or
// is still arriving after maxTime is a failed answer: the read stops there
// (the text then holds at most maxBytes + one socket read) and returns false.
// Only a body that ended by itself within both limits returns true.
class BoundedBodyReader {
public:
    explicit BoundedBodyReader(BodyLimits limits);

    bool Read(std::istream& in, std::string& body) const;

private:
    BodyLimits m_limits;
};
