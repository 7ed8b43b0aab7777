#pragma once

#include "market/HttpAnswer.h"

#include <string>

namespace market {

class FaultInjector;
class ServiceEndpoints;

// "/admin/faults" switches fault injection at run time:
//   ?fault=error|drop|garbage|empty|http500|short-picture|corrupt-picture|none
//   &scope=all|gateway|pictures|service &count=N &latency=MS
// Without parameters it shows the current settings. "/admin/login?cmd=N"
// sets the command bits of later login answers (1 forced upgrade, 2 upgrade
// available, 4 feedback). "/admin/statistics" lists the statistics bodies
// received, one a line. Loopback clients only.
class AdminEndpoint {
public:
    AdminEndpoint(FaultInjector& faults, ServiceEndpoints& service) : faults_(faults), service_(service) {}

    bool handle(const std::string& path, const std::string& query, HttpAnswer& answer);

private:
    HttpAnswer faults(const std::string& query);
    HttpAnswer login(const std::string& query);
    HttpAnswer describeFaults() const;

    FaultInjector& faults_;
    ServiceEndpoints& service_;
};

}
