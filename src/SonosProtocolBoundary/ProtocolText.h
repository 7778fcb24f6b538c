#pragma once

// Reading and writing the scalar texts of speaker replies and requests: integers, clock times
// ("H:MM:SS"), and the checks every number from a speaker passes before it is used.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "OrvelDomain/Duration.h"
#include "SonosProtocolBoundary/ProtocolParseError.h"

namespace orvel::protocol_text {

// A decimal integer in [min, max], surrounded by nothing but white space. `what` names the
// value in the error ("CurrentVolume").
Parsed<std::int64_t> parseInteger(std::string_view text, std::string_view what, std::int64_t min = INT64_MIN,
                                  std::int64_t max = INT64_MAX);

// "H:MM:SS" with an optional fraction, decimal or F0/F1 of a second ("0:03:31", "1:02:03.250",
// "0:03:25.1/3", F0 below F1); hours may have several digits, minutes and seconds are two digits
// below 60. "NOT_IMPLEMENTED" and the empty text mean no value; anything else is an error.
Parsed<std::optional<Duration>> parseClockTime(std::string_view text, std::string_view what);

// "H:MM:SS" of whole seconds, rounded down; negative durations give "0:00:00".
std::string formatClockTime(Duration duration);

// A short quote of a bad value for error messages and the debug log: speakers' garbage can be
// long or binary, so it is cut to 40 bytes and control characters show as "?".
std::string quoted(std::string_view text);

// Whether `text` starts with `prefix`, ignoring ASCII case.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace orvel::protocol_text
