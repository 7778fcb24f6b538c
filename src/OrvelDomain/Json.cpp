#include "Json.h"

#include <cmath>

namespace orvel {

DecodingError DecodingError::typeMismatch(std::string description) {
    return {Kind::typeMismatch, std::move(description), {}};
}
DecodingError DecodingError::valueNotFound(std::string description) {
    return {Kind::valueNotFound, std::move(description), {}};
}
DecodingError DecodingError::keyNotFound(std::string_view key) {
    return {Kind::keyNotFound, "No value associated with key \"" + std::string(key) + "\".", {}};
}
DecodingError DecodingError::dataCorrupted(std::string description) {
    return {Kind::dataCorrupted, std::move(description), {}};
}

DecodingError DecodingError::at(std::string_view pathComponent) const {
    DecodingError out = *this;
    out.path = path.empty() ? std::string(pathComponent) : std::string(pathComponent) + "/" + path;
    return out;
}

std::string DecodingError::message() const {
    return path.empty() ? description : description + " (at " + path + ")";
}

namespace json {

namespace {
std::string typeName(const Json& value) {
    return std::string(value.type_name());
}
DecodingError expected(std::string_view what, const Json& value) {
    return DecodingError::typeMismatch("Expected to decode " + std::string(what) + " but found " +
                                       typeName(value) + " instead.");
}
}  // namespace

Decoded<Json> parse(std::string_view text) {
    Json value = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) {
        return std::unexpected(DecodingError::dataCorrupted("The given data was not valid JSON."));
    }
    return value;
}

Decoded<std::string> decodeString(const Json& value) {
    if (!value.is_string()) return std::unexpected(expected("String", value));
    return value.get_ref<const std::string&>();
}

Decoded<bool> decodeBool(const Json& value) {
    if (!value.is_boolean()) return std::unexpected(expected("Bool", value));
    return value.get<bool>();
}

Decoded<double> decodeDouble(const Json& value) {
    if (!value.is_number()) return std::unexpected(expected("Double", value));
    double d = value.get<double>();
    if (!std::isfinite(d)) {
        return std::unexpected(DecodingError::dataCorrupted("Number is not finite."));
    }
    return d;
}

Decoded<std::int64_t> decodeInteger(const Json& value, std::int64_t min, std::int64_t max) {
    if (!value.is_number()) return std::unexpected(expected("Int", value));
    auto outOfRange = [&] {
        return DecodingError::dataCorrupted("Parsed JSON number <" + value.dump() +
                                            "> does not fit.");
    };
    if (value.is_number_unsigned()) {
        auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(INT64_MAX) || static_cast<std::int64_t>(u) > max) {
            return std::unexpected(outOfRange());
        }
        auto i = static_cast<std::int64_t>(u);
        if (i < min) return std::unexpected(outOfRange());
        return i;
    }
    if (value.is_number_integer()) {
        auto i = value.get<std::int64_t>();
        if (i < min || i > max) return std::unexpected(outOfRange());
        return i;
    }
    double d = value.get<double>();
    // 2^63 is the first double past INT64_MAX; compare in double before converting.
    if (!std::isfinite(d) || std::trunc(d) != d || d < -9223372036854775808.0 ||
        d >= 9223372036854775808.0) {
        return std::unexpected(outOfRange());
    }
    auto i = static_cast<std::int64_t>(d);
    if (i < min || i > max) return std::unexpected(outOfRange());
    return i;
}

Decoded<std::uint64_t> decodeUnsigned(const Json& value) {
    if (!value.is_number()) return std::unexpected(expected("UInt64", value));
    if (value.is_number_unsigned()) return value.get<std::uint64_t>();
    if (value.is_number_integer()) {
        auto i = value.get<std::int64_t>();
        if (i < 0) {
            return std::unexpected(DecodingError::dataCorrupted("Parsed JSON number <" + value.dump() + "> does not fit."));
        }
        return static_cast<std::uint64_t>(i);
    }
    double d = value.get<double>();
    if (!std::isfinite(d) || std::trunc(d) != d || d < 0 || d >= 18446744073709551616.0) {
        return std::unexpected(DecodingError::dataCorrupted("Parsed JSON number <" + value.dump() + "> does not fit."));
    }
    return static_cast<std::uint64_t>(d);
}

Decoded<const Json*> expectObject(const Json& value) {
    if (!value.is_object()) return std::unexpected(expected("Dictionary", value));
    return &value;
}

Decoded<const Json*> expectArray(const Json& value) {
    if (!value.is_array()) return std::unexpected(expected("Array", value));
    return &value;
}

Decoded<const Json*> requiredMember(const Json& object, std::string_view key) {
    ORVEL_TRY(const Json* obj, expectObject(object));
    auto it = obj->find(key);
    if (it == obj->end()) return std::unexpected(DecodingError::keyNotFound(key));
    if (it->is_null()) {
        return std::unexpected(DecodingError::valueNotFound("Expected a value for key \"" +
                                                            std::string(key) + "\" but found null."));
    }
    return &*it;
}

const Json* optionalMember(const Json& object, std::string_view key) {
    if (!object.is_object()) return nullptr;
    auto it = object.find(key);
    if (it == object.end() || it->is_null()) return nullptr;
    return &*it;
}

Decoded<std::string> requiredString(const Json& object, std::string_view key) {
    return required(object, key, decodeString);
}
Decoded<std::optional<std::string>> optionalString(const Json& object, std::string_view key) {
    return optional(object, key, decodeString);
}
Decoded<bool> requiredBool(const Json& object, std::string_view key) {
    return required(object, key, decodeBool);
}
Decoded<double> requiredDouble(const Json& object, std::string_view key) {
    return required(object, key, decodeDouble);
}
Decoded<std::optional<double>> optionalDouble(const Json& object, std::string_view key) {
    return optional(object, key, decodeDouble);
}
Decoded<std::int64_t> requiredInteger(const Json& object, std::string_view key, std::int64_t min,
                                      std::int64_t max) {
    return required(object, key, [&](const Json& v) { return decodeInteger(v, min, max); });
}
Decoded<std::optional<std::int64_t>> optionalInteger(const Json& object, std::string_view key,
                                                     std::int64_t min, std::int64_t max) {
    return optional(object, key, [&](const Json& v) { return decodeInteger(v, min, max); });
}

Decoded<TaggedCase> decodeTagged(const Json& value, std::initializer_list<std::string_view> caseNames) {
    ORVEL_TRY(const Json* obj, expectObject(value));
    const Json* payload = nullptr;
    std::string name;
    int found = 0;
    for (auto caseName : caseNames) {
        auto it = obj->find(caseName);
        if (it != obj->end()) {
            ++found;
            name = std::string(caseName);
            payload = &*it;
        }
    }
    if (found != 1) {
        return std::unexpected(
            DecodingError::typeMismatch("Invalid number of keys found, expected one."));
    }
    if (!payload->is_object()) {
        return std::unexpected(expected("Dictionary", *payload));
    }
    return TaggedCase{std::move(name), payload};
}

Json tagged(std::string_view caseName, Json payload) {
    Json out = Json::object();
    out[std::string(caseName)] = std::move(payload);
    return out;
}

}  // namespace json
}  // namespace orvel
