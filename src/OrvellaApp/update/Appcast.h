#pragma once

// The update feed: an RSS document whose items each announce one version with its release
// notes and one enclosure (the archive's address, its length in bytes and the Ed25519
// signature of its bytes). Parsing is strict: a feed with one malformed item is refused whole,
// so a damaged feed never offers an update it only half describes.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "OrvellaApp/update/UpdateAddressPolicy.h"
#include "OrvellaApp/update/UpdateError.h"

namespace orvel {

struct AppcastItem {
    // Dotted numbers ("1.4.0"), compared part by part.
    QString version;
    // What the user is shown; the version when the feed gives none.
    QString displayVersion;
    QString notes;
    QUrl archiveUrl;
    std::int64_t archiveLength = 0;
    // 64 bytes.
    QByteArray signature;

    friend bool operator==(const AppcastItem&, const AppcastItem&) = default;
};

struct AppcastLimits {
    std::size_t maxFeedBytes = 1024 * 1024;
    std::int64_t maxArchiveBytes = 512LL * 1024 * 1024;
    std::size_t maxItems = 64;
    qsizetype maxNotesCharacters = 16 * 1024;
};

namespace appcast {

UpdateResult<std::vector<AppcastItem>> parse(std::string_view document, const UpdateAddressPolicy& addresses,
                                             const AppcastLimits& limits = {});

// Negative, zero or positive as `a` is older than, the same as or newer than `b`; missing
// parts count as 0 ("1.2" equals "1.2.0"). Both must be valid versions.
int compareVersions(const QString& a, const QString& b);
bool isValidVersion(const QString& version);

// The newest item newer than `running`, if any.
std::optional<AppcastItem> newestUpdate(const std::vector<AppcastItem>& items, const QString& running);

}  // namespace appcast
}  // namespace orvel
