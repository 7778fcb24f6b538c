#pragma once

// The store's files in the data folder: loading them at start-up (an unreadable disposable file
// is deleted, any other is set aside under a ".corrupt-" name and reported), writing them
// atomically through the one file writer, and carrying them over from an older folder. Loading
// also clears away the temporary files that writes cut short by a crash left behind.
//
// Holds only the folder (and the clock that dates a set-aside file); nothing is touched on
// disk until an operation runs, and copies may be used from any thread.

#include <QCoroFuture>
#include <QCoroTask>

#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "FileSlot.h"
#include "FileWriteError.h"
#include "LoadResult.h"
#include "LoadedFiles.h"
#include "Support/Clock.h"
#include "Support/FileWriter.h"
#include "Support/PrivateFiles.h"

namespace orvel {

class OrvelFiles {
public:
    using SaveResult = std::expected<void, FileWriteError>;

    // The clock must outlive every copy of this value.
    explicit OrvelFiles(std::filesystem::path directory, const Clock& clock = Clock::system())
        : directory_(std::move(directory)), clock_(&clock) {}

    const std::filesystem::path& directory() const { return directory_; }

    // Never fails: a missing file is `missing`; an unreadable one is deleted (disposable:
    // `missing`) or set aside (`quarantined` with the new name, or with the slot's own name
    // when it could not be moved and stays where it is).
    template <class T>
    LoadResult<T> load(const FileSlot<T>& slot) const {
        const std::filesystem::path path = directory_ / slot.name;
        auto content = privateFiles::readIfPresent(path);
        if (content && !*content) return LoadResult<T>::missing();
        if (content) {
            if (auto parsed = json::parse(**content)) {
                if (auto decoded = T::fromJson(*parsed)) return LoadResult<T>::loaded(std::move(*decoded));
            }
        }
        // Why it could not be read is of no use to anyone: the file is rebuilt or set aside.
        auto setAside = quarantine(slot.name, slot.isDisposable, path);
        return setAside ? LoadResult<T>::quarantined(std::move(*setAside)) : LoadResult<T>::missing();
    }

    // The start-up load: removes the temporary files of writes a crash cut short and the stale
    // "presets.json" (presets live on the speakers), then loads the cache and the positions, in
    // that order.
    LoadedFiles loadAll() const;

    // Writes the file on the file writer, awaited. The value is copied and the write queued
    // before this returns, behind every earlier write of the writer and ahead of every later
    // one, so what the caller changes afterwards does not reach this write and no write asked
    // for later can land before it.
    template <class T>
    QCoro::Task<SaveResult> saveAsync(T value, FileSlot<T> to) const {
        return awaitWrite(FileWriter::shared().submit(writeJob(std::move(value), std::move(to))));
    }

    // Copies "cached-speakers.json", "floorplan-positions.json" and "spotify-vault.enc" from
    // `from` into `to` where `to` lacks them or holds an older copy. Each copy goes through a
    // temporary file renamed into place, so a failed copy never loses the file it was to
    // replace. `from` is never changed; every failure is ignored.
    static void migrateLegacyDirectoryIfNeeded(const std::filesystem::path& from, const std::filesystem::path& to);

    // The name a file set aside now gets: "<name>.corrupt-<whole seconds since 1970>".
    std::string quarantineName(const std::string& name) const;

private:
    template <class T>
    auto writeJob(T value, FileSlot<T> to) const {
        return [directory = directory_, value = std::move(value), to = std::move(to)]() -> SaveResult {
            std::string bytes;
            try {
                // Text that is not valid UTF-8 is written with replacement characters: a room
                // name with a stray byte must not keep the whole file from being saved.
                bytes = value.toJson().dump(-1, ' ', false, Json::error_handler_t::replace);
            } catch (const std::exception& error) {
                return std::unexpected(FileWriteError{FileWriteError::Kind::encoding, to.name, error.what()});
            }
            return writeBytes(directory, to.name, bytes);
        };
    }

    static QCoro::Task<SaveResult> awaitWrite(QFuture<SaveResult> write) { co_return co_await write; }
    static SaveResult writeBytes(const std::filesystem::path& directory, const std::string& name,
                                 const std::string& bytes);
    // Deletes a disposable file (nullopt) or moves any other aside; gives the name it now has.
    std::optional<std::string> quarantine(const std::string& name, bool isDisposable,
                                          const std::filesystem::path& at) const;

    std::filesystem::path directory_;
    const Clock* clock_;
};

}  // namespace orvel
