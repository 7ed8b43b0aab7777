#include "market/MarketCommandLine.h"

#include <Poco/NumberParser.h>

#include <stdexcept>

namespace market {

namespace {

int numberFlag(const std::string& flag, const std::string& value, int low, int high)
{
    int number = 0;
    if (!Poco::NumberParser::tryParse(value, number) || number < low || number > high)
        throw std::invalid_argument(flag + " takes a number from " + std::to_string(low) + " to " +
                                    std::to_string(high));
    return number;
}

}

std::string MarketCommandLine::usage()
{
    return "usage: quobrix-market [options]\n"
           "  --port N              listen on port N (default 8600; 0 picks a free port)\n"
           "  --host ADDRESS        listen address (default 127.0.0.1)\n"
           "  --data-dir DIR        catalogue, picture cache and statistics (default ./market-data)\n"
           "  --products N          size of the generated catalogue (default 50000)\n"
           "  --seed N              generator seed (default 2026)\n"
           "  --app-key KEY         the application key requests must carry (default the client's)\n"
           "  --app-secret SECRET   the secret requests are signed with (default the client's)\n"
           "  --tls-cert FILE       with --tls-key: also serve https on a second, free port\n"
           "  --tls-key FILE        the certificate's private key (PEM)\n"
           "  --import-csv FILE     replace the catalogue with the products of FILE\n"
           "  --import-pictures DIR pictures named in the CSV's picture column\n"
           "  --fault NAME          error|drop|garbage|empty|http500|short-picture|corrupt-picture|error-page\n"
           "  --fault-scope NAME    all|gateway|pictures|service (default all)\n"
           "  --fault-count N       the fault hits the next N requests only\n"
           "  --latency MS          add MS milliseconds before every answer\n"
           "  --version             print the version and exit\n"
           "  --help                show this text\n";
}

MarketCommandLine MarketCommandLine::parse(const std::vector<std::string>& arguments)
{
    MarketCommandLine line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& flag = arguments[i];
        if (flag == "--help" || flag == "-h") {
            line.help = true;
            continue;
        }
        if (flag == "--version") {
            line.version = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            throw std::invalid_argument(flag == "" ? "empty argument" : "unknown flag or missing value: " + flag);
        const std::string& value = arguments[++i];
        if (flag == "--port")
            line.options.port = uint16_t(numberFlag(flag, value, 0, 65535));
        else if (flag == "--host")
            line.options.host = value;
        else if (flag == "--data-dir")
            line.options.dataDir = value;
        else if (flag == "--products")
            line.options.productCount = numberFlag(flag, value, 1, 2000000);
        else if (flag == "--seed")
            line.options.seed = uint32_t(numberFlag(flag, value, 0, 2147483647));
        else if (flag == "--app-key")
            line.options.appKey = value;
        else if (flag == "--app-secret")
            line.options.appSecret = value;
        else if (flag == "--tls-cert")
            line.options.tlsCertificateFile = value;
        else if (flag == "--tls-key")
            line.options.tlsKeyFile = value;
        else if (flag == "--import-csv")
            line.importCsv = value;
        else if (flag == "--import-pictures")
            line.importPictures = value;
        else if (flag == "--fault") {
            if (!FaultInjector::parseFault(value, line.faults.fault))
                throw std::invalid_argument("unknown fault: " + value);
        } else if (flag == "--fault-scope") {
            if (!FaultInjector::parseScope(value, line.faults.scope))
                throw std::invalid_argument("unknown fault scope: " + value);
        } else if (flag == "--fault-count")
            line.faults.remaining = numberFlag(flag, value, 0, 1000000000);
        else if (flag == "--latency")
            line.faults.latencyMs = numberFlag(flag, value, 0, 60000);
        else
            throw std::invalid_argument("unknown flag: " + flag);
    }
    if (!line.importPictures.empty() && line.importCsv.empty())
        throw std::invalid_argument("--import-pictures needs --import-csv");
    if (line.options.tlsCertificateFile.empty() != line.options.tlsKeyFile.empty())
        throw std::invalid_argument("--tls-cert and --tls-key go together");
    return line;
}

}
