#include "market/AdminEndpoint.h"

#include "market/FaultInjector.h"
#include "market/RequestParameters.h"
#include "market/ServiceEndpoints.h"

#include <Poco/NumberParser.h>

#include <stdexcept>

namespace market {

bool AdminEndpoint::handle(const std::string& path, const std::string& query, HttpAnswer& answer)
{
    if (path == "/admin/faults") {
        answer = faults(query);
        return true;
    }
    if (path == "/admin/login") {
        answer = login(query);
        return true;
    }
    if (path == "/admin/statistics") {
        std::string lines;
        for (const std::string& body : service_.statisticsBodies())
            lines += body + "\n";
        answer = HttpAnswer::text(200, lines);
        return true;
    }
    return false;
}

HttpAnswer AdminEndpoint::describeFaults() const
{
    FaultSettings settings = faults_.settings();
    return HttpAnswer::text(200, "fault=" + FaultInjector::faultName(settings.fault) +
                          " scope=" + FaultInjector::scopeName(settings.scope) +
                          " count=" + std::to_string(settings.remaining) +
                          " latency=" + std::to_string(settings.latencyMs));
}

HttpAnswer AdminEndpoint::login(const std::string& query)
{
    int cmd = 0;
    try {
        const RequestParameters parameters = RequestParameters::parse(query, true);
        if (!Poco::NumberParser::tryParse(parameters.get("cmd"), cmd) || cmd < 0 || cmd > 7)
            return HttpAnswer::text(400, "cmd must be 0 to 7");
    } catch (const std::invalid_argument& error) {
        return HttpAnswer::text(400, error.what());
    }
    LoginAnswer answer = service_.loginAnswer();
    answer.cmd = cmd;
    service_.setLoginAnswer(answer);
    return HttpAnswer::text(200, "cmd=" + std::to_string(cmd));
}

HttpAnswer AdminEndpoint::faults(const std::string& query)
{
    RequestParameters parameters;
    try {
        parameters = RequestParameters::parse(query, true);
    } catch (const std::invalid_argument& error) {
        return HttpAnswer::text(400, error.what());
    }
    if (parameters.pairs().empty())
        return describeFaults();
    FaultSettings settings;
    int count = -1, latency = 0;
    if (parameters.has("fault") && !FaultInjector::parseFault(parameters.get("fault"), settings.fault))
        return HttpAnswer::text(400, "unknown fault \"" + parameters.get("fault") + "\"");
    if (parameters.has("scope") && !FaultInjector::parseScope(parameters.get("scope"), settings.scope))
        return HttpAnswer::text(400, "unknown scope \"" + parameters.get("scope") + "\"");
    if (parameters.has("count") && !Poco::NumberParser::tryParse(parameters.get("count"), count))
        return HttpAnswer::text(400, "count must be a number");
    if (parameters.has("latency") &&
        (!Poco::NumberParser::tryParse(parameters.get("latency"), latency) || latency < 0 || latency > 60000))
        return HttpAnswer::text(400, "latency must be 0 to 60000 milliseconds");
    settings.remaining = count < 0 ? -1 : count;
    settings.latencyMs = latency;
    faults_.set(settings);
    return describeFaults();
}

}
