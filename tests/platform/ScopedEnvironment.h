// Test helper: environment variables changed for one test and put back afterwards.
#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace platform_test {

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    void Set(const std::string& name, const std::string& value) {
        Remember(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void Unset(const std::string& name) {
        Remember(name);
        unsetenv(name.c_str());
    }

private:
    void Remember(const std::string& name) {
        if (saved_.count(name) == 0) {
            const char* value = std::getenv(name.c_str());
            saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
        }
    }

    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace platform_test
