#pragma once
// Sets the process's time zone for a scope, so that date code can be shown
// not to follow it.
#include <cstdlib>
#include <ctime>
#include <string>

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        const char* previous = std::getenv("TZ");
        hadPrevious_ = previous != nullptr;
        if (previous) previous_ = previous;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadPrevious_) setenv("TZ", previous_.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

    // The local day of the month at that instant in this zone.
    static int LocalDay(long long secondsSinceEpoch) {
        std::time_t when = static_cast<std::time_t>(secondsSinceEpoch);
        return std::localtime(&when)->tm_mday;
    }

private:
    bool hadPrevious_ = false;
    std::string previous_;
};
