// The local marketplace: serves the gateway, pictures and service until
// SIGINT or SIGTERM.
#include "market/CsvImporter.h"
#include "market/MarketCommandLine.h"
#include "market/MarketServer.h"

#include <Poco/Exception.h>
#include <QuobrixVersion.h>

#include <csignal>
#include <iostream>
#include <stdexcept>

int main(int argc, char** argv)
{
    market::MarketCommandLine line;
    try {
        line = market::MarketCommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "quobrix-market: " << error.what() << "\n" << market::MarketCommandLine::usage();
        return 2;
    }
    if (line.help) {
        std::cout << market::MarketCommandLine::usage();
        return 0;
    }
    if (line.version) {
        std::cout << "quobrix-market " << QuobrixVersion::kString << "\n";
        return 0;
    }

    // Blocked before any thread starts, so only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        if (!line.importCsv.empty()) {
            market::CsvImporter::Report report =
                market::CsvImporter::importFile(line.options, line.importCsv, line.importPictures);
            std::cout << "quobrix-market: imported " << report.products << " products";
            if (report.skippedRows > 0)
                std::cout << ", skipped " << report.skippedRows << " rows (" << report.firstProblem << ")";
            std::cout << std::endl;
        }
        market::MarketServer server(line.options);
        std::cout << "quobrix-market: preparing the catalogue in " << (line.options.dataDir.empty() ? "market-data"
                                                                                            : line.options.dataDir)
                  << std::endl;
        server.start();
        server.setFaults(line.faults);
        std::cout << "quobrix-market: serving " << server.topUrl() << " and " << server.serviceUrl() << "/quobrix/"
                  << std::endl;
        if (!server.httpsUrl().empty())
            std::cout << "quobrix-market: and over https at " << server.httpsUrl() << std::endl;
        int received = 0;
        sigwait(&stopSignals, &received);
        std::cout << "quobrix-market: stopping" << std::endl;
        server.stop();
    } catch (const Poco::Exception& error) {
        std::cerr << "quobrix-market: " << error.displayText() << std::endl;
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "quobrix-market: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
