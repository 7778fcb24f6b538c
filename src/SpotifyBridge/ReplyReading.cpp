#include "ReplyReading.h"

#include <charconv>
#include <cmath>

#include "SpotifyBridge/SpotifyLog.h"

namespace orvel::reply {

std::optional<Json> parse(std::string_view body) {
    auto document = json::parseReply(body);
    if (!document) return std::nullopt;
    // Where, never what: a reply can carry tokens.
    if (document->mended()) {
        qCDebug(lcSpotify).nospace() << "Reply read with " << document->loneSurrogates
                                     << " lone surrogate escape(s) as U+FFFD and " << document->hugeNumbers
                                     << " number(s) beyond a double as null, the first at byte "
                                     << document->firstMendAt;
    }
    return std::move(document->value);
}

const Json* member(const Json& object, std::string_view key) {
    if (!object.is_object()) return nullptr;
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

const Json* objectMember(const Json& object, std::string_view key) {
    const Json* value = member(object, key);
    return value != nullptr && value->is_object() ? value : nullptr;
}

const Json* arrayMember(const Json& object, std::string_view key) {
    const Json* value = member(object, key);
    return value != nullptr && value->is_array() ? value : nullptr;
}

const std::string* stringMember(const Json& object, std::string_view key) {
    const Json* value = member(object, key);
    return value != nullptr && value->is_string() ? &value->get_ref<const std::string&>() : nullptr;
}

std::optional<bool> boolMember(const Json& object, std::string_view key) {
    const Json* value = member(object, key);
    if (value == nullptr || !value->is_boolean()) return std::nullopt;
    return value->get<bool>();
}

std::optional<std::int64_t> integer(const Json* value) {
    if (value == nullptr) return std::nullopt;
    if (value->is_number_unsigned()) {
        auto u = value->get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
        return static_cast<std::int64_t>(u);
    }
    if (value->is_number_integer()) return value->get<std::int64_t>();
    if (value->is_number_float()) {
        double d = std::trunc(value->get<double>());
        // 2^63 is exactly representable; every double below it converts without overflow.
        constexpr double limit = 9223372036854775808.0;
        if (!std::isfinite(d) || d >= limit || d < -limit) return std::nullopt;
        return static_cast<std::int64_t>(d);
    }
    return std::nullopt;
}

std::optional<std::int64_t> integerMember(const Json& object, std::string_view key) {
    return integer(member(object, key));
}

std::optional<double> retryAfterSeconds(std::optional<std::string_view> header) {
    if (!header || header->empty()) return std::nullopt;
    std::string_view text = *header;
    // from_chars takes no leading "+"; a plain decimal is what the header carries.
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(value) || value < 0) return std::nullopt;
    return value;
}

}  // namespace orvel::reply
