#include "SpeakerAddress.h"

namespace orvel {

namespace {

bool isAcceptable(std::uint32_t value) {
    const std::uint32_t first = value >> 24;
    // 0.0.0.0/8 is "this network", 224/4 multicast, 240/4 reserved including broadcast.
    return first != 0 && first < 224;
}

std::string dotted(std::uint32_t value) {
    return std::to_string(value >> 24) + "." + std::to_string((value >> 16) & 0xFF) + "." +
           std::to_string((value >> 8) & 0xFF) + "." + std::to_string(value & 0xFF);
}

}  // namespace

std::optional<SpeakerAddress> SpeakerAddress::make(std::string_view text) {
    std::uint32_t value = 0;
    int octets = 0;
    std::size_t i = 0;
    while (octets < 4) {
        if (octets > 0) {
            if (i >= text.size() || text[i] != '.') return std::nullopt;
            ++i;
        }
        std::size_t start = i;
        unsigned octet = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3) {
            octet = octet * 10 + static_cast<unsigned>(text[i] - '0');
            ++i;
        }
        std::size_t digits = i - start;
        if (digits == 0 || octet > 255) return std::nullopt;
        // "010" reads as octal to some resolvers; refuse rather than guess.
        if (digits > 1 && text[start] == '0') return std::nullopt;
        value = (value << 8) | octet;
        ++octets;
    }
    if (i != text.size()) return std::nullopt;
    return fromIPv4(value);
}

std::optional<SpeakerAddress> SpeakerAddress::fromIPv4(std::uint32_t address) {
    if (!isAcceptable(address)) return std::nullopt;
    return SpeakerAddress(address, dotted(address));
}

QUrl SpeakerAddress::baseURL(std::uint16_t port) const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QString::fromStdString(text_));
    url.setPort(port);
    return url;
}

QUrl SpeakerAddress::url(std::string_view path, std::uint16_t port) const {
    QUrl out = baseURL(port);
    out.setPath(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
    return out;
}

std::optional<SpeakerAddress> speakerAddressFromLocation(std::string_view location) {
    constexpr std::string_view scheme = "http://";
    if (location.size() < scheme.size()) return std::nullopt;
    for (std::size_t k = 0; k < scheme.size(); ++k) {
        char c = location[k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != scheme[k]) return std::nullopt;
    }
    std::string_view rest = location.substr(scheme.size());
    std::size_t end = rest.find_first_of(":/?#");
    std::string_view host = rest.substr(0, end);
    if (end != std::string_view::npos && rest[end] == ':') {
        std::string_view after = rest.substr(end + 1);
        std::size_t portEnd = after.find_first_of("/?#");
        std::string_view port = after.substr(0, portEnd);
        if (port.empty() || port.size() > 5) return std::nullopt;
        for (char c : port) {
            if (c < '0' || c > '9') return std::nullopt;
        }
    }
    return SpeakerAddress::make(host);
}

}  // namespace orvel
