#include "Date.h"

namespace orvel {

Date Date::fromSystemClock(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    return fromUnix(duration<double>(time.time_since_epoch()).count());
}

Date Date::now() { return fromSystemClock(std::chrono::system_clock::now()); }

std::chrono::system_clock::time_point Date::toSystemClock() const {
    using namespace std::chrono;
    return system_clock::time_point(
        duration_cast<system_clock::duration>(duration<double>(unixSeconds())));
}

Decoded<Date> Date::fromJson(const Json& value) {
    ORVEL_TRY(double seconds, json::decodeDouble(value));
    return Date(seconds);
}

}  // namespace orvel
