#include "platform/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace
{

// One converter per thread and direction: an iconv descriptor keeps shift
// state and must not be shared, and opening one per call is needlessly slow.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (isOpen())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(const std::string& in, size_t (*skipLength)(const char*, size_t))
    {
        if (!isOpen())
            return in;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(in.size() + in.size() / 2);
        char buffer[1024];
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof(buffer);
            size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (rc != static_cast<size_t>(-1) || errno == E2BIG)
                continue;
            // Unrepresentable or malformed input: one "?" per source character.
            out += '?';
            size_t skip = skipLength(src, srcLeft);
            src += skip;
            srcLeft -= skip;
        }
        return out;
    }

private:
    bool isOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t m_cd;
};

size_t utf8SequenceLength(const char* p, size_t left)
{
    unsigned char lead = static_cast<unsigned char>(*p);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    size_t n = 1;
    while (n < length && n < left && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

size_t gbkSequenceLength(const char* p, size_t left)
{
    unsigned char lead = static_cast<unsigned char>(*p);
    if (lead < 0x81 || lead > 0xFE || left < 2)
        return 1;
    unsigned char trail = static_cast<unsigned char>(p[1]);
    bool validTrail = trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
    return validTrail ? 2 : 1;
}

}

std::string CodePage::Utf8ToGbk(const std::string& utf8)
{
    thread_local Converter converter("CP936", "UTF-8");
    return converter.convert(utf8, utf8SequenceLength);
}

std::string CodePage::GbkToUtf8(const std::string& gbk)
{
    thread_local Converter converter("UTF-8", "CP936");
    return converter.convert(gbk, gbkSequenceLength);
}
