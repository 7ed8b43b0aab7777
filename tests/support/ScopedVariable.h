#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets (or, with no value, unsets) an environment variable for a scope and
// puts back what was there before.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        Apply(value);
    }
    ~ScopedVariable() { Apply(m_old); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Apply(const std::optional<std::string>& value)
    {
        if (value)
            setenv(m_name.c_str(), value->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

    std::string m_name;
    std::optional<std::string> m_old;
};
