#pragma once

// Random (version 4) UUIDs in the upper-case text form "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".

#include <optional>
#include <string>
#include <string_view>

namespace orvel::uuid {

std::string randomString();
// The upper-case canonical form of a UUID text (either case accepted), or nullopt when the
// text is not 8-4-4-4-12 hexadecimal digits.
std::optional<std::string> canonical(std::string_view text);

}  // namespace orvel::uuid
