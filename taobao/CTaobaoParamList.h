#pragma once
#include <string>
#include <utility>
#include <vector>

// The parameters of one platform request, in the order they were added until
// sorted by name for signing.
class CTaobaoParamList
{
public:
    using Param = std::pair<std::string, std::string>;

    void addParam(const std::string& name, const std::string& value);
    // Ascending by name as byte strings; a no-op when nothing was added since.
    void sortByKey();
    // The secret, then every name immediately followed by its raw value.
    std::string signatureSource() const;
    // "?" name=value joined by "&", in the current order, in wire form: each
    // value percent-encoded so that it arrives as one value whatever it holds.
    std::string buildQuery() const;

    const std::vector<Param>& params() const { return m_params; }
    bool isSorted() const { return m_sorted; }

    // Copies A-Z a-z 0-9 - . _ ~ and every byte not named here; writes as %XX
    // the bytes up to 0x20, from 0x7F up, the characters % < > { } | \ " ^ `
    // and those in `reserved`.
    static std::string percentEncode(const std::string& text, const char* reserved);

private:
    std::vector<Param> m_params;
    bool m_sorted = true;
};

// The local wall-clock time as "%Y-%m-%d %H:%M:%S", the platform's timestamp form.
std::string makeTimestamp();
