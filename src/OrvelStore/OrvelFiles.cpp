#include "OrvelFiles.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace orvel {
namespace {

// Whole seconds since 1970, truncated toward zero; a clock that reads nonsense gives 0 rather
// than an unchecked conversion.
std::int64_t unixSecondsTruncated(Date date) {
    const double seconds = std::trunc(date.unixSeconds());
    if (!std::isfinite(seconds) || seconds < -9.2e18 || seconds > 9.2e18) return 0;
    return static_cast<std::int64_t>(seconds);
}

template <class T>
std::optional<T> takeLoaded(LoadResult<T> result, std::vector<std::string>& quarantined) {
    if (const auto* loaded = result.asLoaded()) return loaded->value;
    if (const auto* setAside = result.asQuarantined()) quarantined.push_back(setAside->fileName);
    return std::nullopt;
}

}  // namespace

LoadedFiles OrvelFiles::loadAll() const {
    (void)privateFiles::removeStaleTemporaries(directory_);
    privateFiles::removeQuietly(directory_ / "presets.json");
    auto cache = load(fileSlot::cachedSpeakers());
    auto positions = load(fileSlot::floorplanPositions());
    LoadedFiles out;
    out.cache = takeLoaded(std::move(cache), out.quarantined);
    out.positions = takeLoaded(std::move(positions), out.quarantined);
    return out;
}

std::string OrvelFiles::quarantineName(const std::string& name) const {
    return name + ".corrupt-" + std::to_string(unixSecondsTruncated(clock_->now()));
}

std::optional<std::string> OrvelFiles::quarantine(const std::string& name, bool isDisposable,
                                                  const std::filesystem::path& at) const {
    if (isDisposable) {
        privateFiles::removeQuietly(at);
        return std::nullopt;
    }
    std::string newName = quarantineName(name);
    // Never over an earlier set-aside copy of the same second: that one is kept, and this
    // file stays where it is to be found again at the next start.
    if (privateFiles::moveWithoutReplacing(at, directory_ / newName)) return newName;
    return name;
}

OrvelFiles::SaveResult OrvelFiles::writeBytes(const std::filesystem::path& directory, const std::string& name,
                                              const std::string& bytes) {
    if (auto created = privateFiles::ensureFolder(directory); !created) {
        return std::unexpected(FileWriteError{FileWriteError::Kind::creatingFolder, name, created.error().detail});
    }
    if (auto written = privateFiles::writeAtomically(directory / name, bytes); !written) {
        return std::unexpected(FileWriteError{FileWriteError::Kind::writing, name, written.error().detail});
    }
    return {};
}

void OrvelFiles::migrateLegacyDirectoryIfNeeded(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    if (!std::filesystem::exists(from, error)) return;
    (void)privateFiles::ensureFolder(to);
    for (const char* name : {"cached-speakers.json", "floorplan-positions.json", "spotify-vault.enc"}) {
        const std::filesystem::path source = from / name;
        const std::filesystem::path target = to / name;
        if (!std::filesystem::exists(source, error)) continue;
        if (!std::filesystem::exists(target, error)) {
            (void)privateFiles::copyReplacing(source, target);
            continue;
        }
        const auto sourceTime = privateFiles::modificationTime(source);
        const auto targetTime = privateFiles::modificationTime(target);
        if (!sourceTime || !targetTime) continue;
        const bool sourceIsNewer = sourceTime->tv_sec != targetTime->tv_sec ? sourceTime->tv_sec > targetTime->tv_sec
                                                                            : sourceTime->tv_nsec > targetTime->tv_nsec;
        if (sourceIsNewer) (void)privateFiles::copyReplacing(source, target);
    }
}

}  // namespace orvel
