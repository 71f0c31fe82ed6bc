// Setting an environment variable for the length of a scope: the old value
// (or its absence) comes back on every way out, a failed assertion included.
#pragma once

#include <cstdlib>
#include <string>

class ScopedEnvironment {
public:
    // A null value removes the variable for the scope.
    ScopedEnvironment(const char *name, const char *value) : m_name(name)
    {
        const char *old = std::getenv(name);
        m_had = old != nullptr;
        if (old)
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ScopedEnvironment(const char *name, const std::string &value) : ScopedEnvironment(name, value.c_str()) {}
    ~ScopedEnvironment()
    {
        if (m_had)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    std::string m_name;
    bool m_had;
    std::string m_old;
};
