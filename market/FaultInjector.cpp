#include "market/FaultInjector.h"

#include <utility>
#include <vector>

namespace market {

namespace {

const std::vector<std::pair<Fault, const char*>> kFaultNames = {
    {Fault::None, "none"},
    {Fault::ErrorAnswer, "error"},
    {Fault::DropConnection, "drop"},
    {Fault::GarbageBody, "garbage"},
    {Fault::EmptyBody, "empty"},
    {Fault::Http500, "http500"},
    {Fault::ShortPicture, "short-picture"},
    {Fault::CorruptPicture, "corrupt-picture"},
    {Fault::ErrorPage, "error-page"},
    {Fault::OversizedBody, "oversized"},
    {Fault::EndlessBody, "endless"},
    {Fault::TrickleBody, "trickle"},
};

const std::vector<std::pair<FaultScope, const char*>> kScopeNames = {
    {FaultScope::All, "all"},
    {FaultScope::Gateway, "gateway"},
    {FaultScope::Pictures, "pictures"},
    {FaultScope::Service, "service"},
};

template <typename T>
bool parseName(const std::vector<std::pair<T, const char*>>& names, const std::string& name, T& value)
{
    for (const auto& entry : names)
        if (name == entry.second) {
            value = entry.first;
            return true;
        }
    return false;
}

template <typename T>
std::string nameOf(const std::vector<std::pair<T, const char*>>& names, T value)
{
    for (const auto& entry : names)
        if (entry.first == value)
            return entry.second;
    return std::string();
}

}

void FaultInjector::set(const FaultSettings& settings)
{
    std::lock_guard<std::mutex> lock(mutex_);
    settings_ = settings;
}

FaultSettings FaultInjector::settings() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return settings_;
}

Fault FaultInjector::next(FaultScope part)
{
    int latency = 0;
    Fault fault = Fault::None;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (settings_.scope != FaultScope::All && settings_.scope != part)
            return Fault::None;
        latency = settings_.latencyMs;
        if (settings_.fault != Fault::None && settings_.remaining != 0) {
            fault = settings_.fault;
            if (settings_.remaining > 0)
                --settings_.remaining;
        }
    }
    if (latency > 0)
        stopping_.tryWait(latency);
    return fault;
}

void FaultInjector::setStopping(bool stopping)
{
    if (stopping)
        stopping_.set();
    else
        stopping_.reset();
}

bool FaultInjector::waitStopping(int ms)
{
    return stopping_.tryWait(ms);
}

bool FaultInjector::parseFault(const std::string& name, Fault& fault)
{
    return parseName(kFaultNames, name, fault);
}

bool FaultInjector::parseScope(const std::string& name, FaultScope& scope)
{
    return parseName(kScopeNames, name, scope);
}

std::string FaultInjector::faultName(Fault fault)
{
    return nameOf(kFaultNames, fault);
}

std::string FaultInjector::scopeName(FaultScope scope)
{
    return nameOf(kScopeNames, scope);
}

}
