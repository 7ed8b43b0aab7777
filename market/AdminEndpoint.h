#pragma once

#include "market/HttpAnswer.h"

#include <string>

namespace market {

class FaultInjector;
class ServiceEndpoints;

// "/admin/faults" switches fault injection at run time:
//   ?fault=error|drop|garbage|empty|http500|short-picture|corrupt-picture|none
//   &scope=all|gateway|pictures|service &count=N &latency=MS
// Without parameters it shows the current settings. "/admin/statistics"
// lists the statistics bodies received, one a line. Loopback clients only.
class AdminEndpoint {
public:
    AdminEndpoint(FaultInjector& faults, ServiceEndpoints& service) : faults_(faults), service_(service) {}

    bool handle(const std::string& path, const std::string& query, HttpAnswer& answer);

private:
    HttpAnswer faults(const std::string& query);
    HttpAnswer describeFaults() const;

    FaultInjector& faults_;
    ServiceEndpoints& service_;
};

}
