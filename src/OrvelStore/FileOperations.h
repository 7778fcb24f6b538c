#pragma once

// The few file-system operations the store files need, each one either done whole or not at
// all, with the system's reason on failure. No exceptions leave these functions.

#include <sys/types.h>

#include <ctime>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvel::fileops {

// Creates `folder` and its missing parents with mode 0700; an existing folder is fine.
std::expected<void, std::string> createPrivateFolders(const std::filesystem::path& folder);

// Nullopt when nothing exists at `path`; otherwise the whole content, or why it could not be
// read.
std::optional<std::expected<std::string, std::string>> readIfPresent(const std::filesystem::path& path);

struct AtomicWriteOptions {
    mode_t mode = 0600;
    // Given: the new file carries this modification time.
    std::optional<timespec> modified;
};

// Writes the bytes to a temporary file beside `target` (created with the final mode), flushes
// it to disk and renames it over `target`, so a reader sees the old file or the new one and
// never a part. On failure the temporary file is removed and `target` is as it was.
std::expected<void, std::string> writeAtomically(const std::filesystem::path& target, std::string_view bytes,
                                                 const AtomicWriteOptions& options = {});

// Copies `from` over `to` through a temporary file, keeping the mode and modification time of
// `from`; a failure at any point leaves `to` as it was.
std::expected<void, std::string> copyReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Renames `from` to `to` unless something already exists at `to`.
std::expected<void, std::string> moveWithoutReplacing(const std::filesystem::path& from,
                                                      const std::filesystem::path& to);

// Removes a file; whether it worked is of no interest to the callers.
void removeQuietly(const std::filesystem::path& path);

// The modification time, nullopt when the file's attributes cannot be read.
std::optional<timespec> modificationTime(const std::filesystem::path& path);

}  // namespace orvel::fileops
