#include "platform/BoundedBodyReader.h"

#include <algorithm>

BoundedBodyReader::BoundedBodyReader(BodyLimits limits) : m_limits(limits)
{
}

bool BoundedBodyReader::Read(std::istream& in, std::string& body) const
{
    const auto deadline = std::chrono::steady_clock::now() + m_limits.maxTime;
    char chunk[16384];
    body.clear();
    // get() waits for the next bytes to arrive; readsome() then takes what the
    // stream already holds without waiting, so a trickling body is checked
    // against the clock after every arrival, not after a full chunk.
    for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
        body.push_back(static_cast<char>(c));
        const std::streamsize taken = in.readsome(chunk, static_cast<std::streamsize>(sizeof(chunk)));
        body.append(chunk, static_cast<size_t>(std::max<std::streamsize>(taken, 0)));
        // readsome() marks the end when a stream cannot tell what it holds;
        // only get() may decide that the body has ended.
        in.clear(in.rdstate() & ~std::ios::eofbit);
        if (body.size() > m_limits.maxBytes || std::chrono::steady_clock::now() > deadline)
            return false;
    }
    // A read that failed before the end (a reset, a socket timeout) is no body.
    return in.eof() && !in.bad();
}
