#pragma once

// Lenient member readers for the music service's replies: a member of the wrong JSON type
// counts as absent, so one odd field never costs the whole reply. Numbers are checked before
// any conversion: only finite values inside the 64-bit range count.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "OrvelDomain/Json.h"

namespace orvel::reply {

// Parses a reply body; absent when it is not JSON. A lone surrogate escape reads as U+FFFD and a
// number beyond the range of a double as null (`json::parseReply`), so each costs only its value.
std::optional<Json> parse(std::string_view body);

// The member of an object, or nullptr when `object` is not an object or has no such member.
const Json* member(const Json& object, std::string_view key);
// The member when it is an object (an empty object too), else nullptr.
const Json* objectMember(const Json& object, std::string_view key);
const Json* arrayMember(const Json& object, std::string_view key);
// The member's text when it is a string, else nullptr.
const std::string* stringMember(const Json& object, std::string_view key);
std::optional<bool> boolMember(const Json& object, std::string_view key);

// A JSON number as a signed integer: integral values unchanged, fractional ones truncated
// toward zero. Text, null, non-finite values and values outside the 64-bit range are absent.
std::optional<std::int64_t> integer(const Json* value);
std::optional<std::int64_t> integerMember(const Json& object, std::string_view key);

// A Retry-After header: the whole value as a decimal number of seconds ("30", "2.5"). Missing,
// empty, surrounded by white space, an HTTP date, not finite or negative: absent.
std::optional<double> retryAfterSeconds(std::optional<std::string_view> header);

}  // namespace orvel::reply
