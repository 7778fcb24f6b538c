#pragma once

// A speaker's address: a dotted-quad IPv4 literal, checked before any URL is built from it, so
// a host name, an IPv6 literal, a port or a path smuggled in through a reply or the cache file
// never reaches the network layer. Unspecified (0.x.x.x), multicast, reserved and broadcast
// addresses are refused; loopback is allowed (the fake speakers live there).

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <QUrl>

namespace orvel {

class SpeakerAddress {
public:
    static constexpr std::uint16_t defaultPort = 1400;

    // Exactly four decimal octets 0...255 without signs, blanks or leading zeros.
    static std::optional<SpeakerAddress> make(std::string_view text);
    static std::optional<SpeakerAddress> fromIPv4(std::uint32_t address);

    const std::string& text() const { return text_; }
    std::uint32_t toIPv4() const { return value_; }
    bool isLoopback() const { return (value_ >> 24) == 127; }

    // "http://{address}:{port}"
    QUrl baseURL(std::uint16_t port = defaultPort) const;
    // The base URL with `path`, which starts with "/".
    QUrl url(std::string_view path, std::uint16_t port = defaultPort) const;

    friend bool operator==(const SpeakerAddress& a, const SpeakerAddress& b) { return a.value_ == b.value_; }
    friend std::strong_ordering operator<=>(const SpeakerAddress& a, const SpeakerAddress& b) {
        return a.value_ <=> b.value_;
    }

private:
    SpeakerAddress(std::uint32_t value, std::string text) : value_(value), text_(std::move(text)) {}
    std::uint32_t value_;
    std::string text_;
};

// Pulls the address out of an "http://IP:PORT/..." location (SSDP, zone group state). Only a
// plain http URL whose host is a valid SpeakerAddress gives one.
std::optional<SpeakerAddress> speakerAddressFromLocation(std::string_view location);

}  // namespace orvel

template <>
struct std::hash<orvel::SpeakerAddress> {
    std::size_t operator()(const orvel::SpeakerAddress& a) const noexcept { return std::hash<std::uint32_t>{}(a.toIPv4()); }
};
