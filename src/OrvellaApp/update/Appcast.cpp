#include "OrvellaApp/update/Appcast.h"

#include <QStringList>

#include <algorithm>
#include <charconv>

#include "SonosProtocolBoundary/XMLNode.h"

namespace orvel::appcast {

namespace {

constexpr int maxVersionParts = 4;
constexpr int maxVersionPartDigits = 9;
constexpr int signatureBytes = 64;

std::unexpected<UpdateError> malformed(std::string detail) {
    return updateFailure(UpdateError::Kind::malformedFeed, std::move(detail));
}

// The element's text, or the enclosure's attribute of the same local name (both forms occur).
std::optional<std::string> field(const XMLNode& item, const XMLNode* enclosure, std::string_view name) {
    if (const XMLNode* element = item.child(name)) return element->trimmedText();
    if (enclosure) return enclosure->attribute(name);
    return std::nullopt;
}

UpdateResult<AppcastItem> parseItem(const XMLNode& item, const UpdateAddressPolicy& addresses,
                                    const AppcastLimits& limits) {
    const XMLNode* enclosure = item.child("enclosure");
    if (!enclosure) return malformed("an item has no enclosure");
    if (item.childrenNamed("enclosure").size() != 1) return malformed("an item has more than one enclosure");

    AppcastItem parsed;
    const std::optional<std::string> version = field(item, enclosure, "version");
    if (!version) return malformed("an item has no version");
    parsed.version = QString::fromStdString(*version);
    if (!isValidVersion(parsed.version)) return malformed("version \"" + *version + "\" is not a dotted number");

    const std::optional<std::string> shown = field(item, enclosure, "shortVersionString");
    parsed.displayVersion = shown && !shown->empty() ? QString::fromStdString(*shown) : parsed.version;
    if (parsed.displayVersion.size() > 64 || parsed.displayVersion.contains(QLatin1Char('\n'))) {
        return malformed("the display version of " + *version + " is not one short line");
    }

    if (const XMLNode* description = item.child("description")) {
        parsed.notes = QString::fromStdString(description->trimmedText());
        if (parsed.notes.size() > limits.maxNotesCharacters) return malformed("the notes of " + *version + " are too long");
    }

    const std::string url = enclosure->attribute("url").value_or("");
    parsed.archiveUrl = QUrl(QString::fromStdString(url), QUrl::StrictMode);
    if (!addresses.allows(parsed.archiveUrl)) return malformed("the archive address \"" + url + "\" is not https");

    const std::string length = enclosure->attribute("length").value_or("");
    const auto [end, error] = std::from_chars(length.data(), length.data() + length.size(), parsed.archiveLength);
    if (length.empty() || error != std::errc() || end != length.data() + length.size() || parsed.archiveLength <= 0) {
        return malformed("the archive length \"" + length + "\" is not a positive number");
    }
    if (parsed.archiveLength > limits.maxArchiveBytes) return malformed("the archive of " + *version + " is too large");

    const std::string signature = enclosure->attribute("edSignature").value_or("");
    const auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(signature),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != signatureBytes) {
        return malformed("the signature of " + *version + " is not 64 bytes of base64");
    }
    parsed.signature = decoded.decoded;
    return parsed;
}

}  // namespace

bool isValidVersion(const QString& version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    if (parts.size() > maxVersionParts) return false;
    return std::ranges::all_of(parts, [](const QString& part) {
        return !part.isEmpty() && part.size() <= maxVersionPartDigits &&
               std::ranges::all_of(part, [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    });
}

int compareVersions(const QString& a, const QString& b) {
    const QStringList left = a.split(QLatin1Char('.'));
    const QStringList right = b.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const long long l = i < left.size() ? left[i].toLongLong() : 0;
        const long long r = i < right.size() ? right[i].toLongLong() : 0;
        if (l != r) return l < r ? -1 : 1;
    }
    return 0;
}

UpdateResult<std::vector<AppcastItem>> parse(std::string_view document, const UpdateAddressPolicy& addresses,
                                             const AppcastLimits& limits) {
    if (document.size() > limits.maxFeedBytes) return updateFailure(UpdateError::Kind::feedTooLarge, "");
    XMLNode::Limits xmlLimits;
    xmlLimits.maxBytes = limits.maxFeedBytes;
    xmlLimits.maxElements = 4096;
    xmlLimits.maxDepth = 16;
    const Parsed<XMLNode> root = XMLNode::parse(document, xmlLimits);
    if (!root) return malformed(root.error().message);
    if (root->name != "rss") return malformed("the document is not RSS");
    const XMLNode* channel = root->child("channel");
    if (!channel) return malformed("the feed has no channel");

    const std::vector<const XMLNode*> items = channel->childrenNamed("item");
    if (items.size() > limits.maxItems) return malformed("the feed has too many items");
    std::vector<AppcastItem> parsed;
    parsed.reserve(items.size());
    for (const XMLNode* item : items) {
        UpdateResult<AppcastItem> one = parseItem(*item, addresses, limits);
        if (!one) return std::unexpected(one.error());
        parsed.push_back(std::move(*one));
    }
    return parsed;
}

std::optional<AppcastItem> newestUpdate(const std::vector<AppcastItem>& items, const QString& running) {
    std::optional<AppcastItem> newest;
    for (const AppcastItem& item : items) {
        if (compareVersions(item.version, running) <= 0) continue;
        if (!newest || compareVersions(item.version, newest->version) > 0) newest = item;
    }
    return newest;
}

}  // namespace orvel::appcast
