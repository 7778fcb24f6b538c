#pragma once

// The program's private files: folders made 0700 when they are made (never made and narrowed
// afterwards), files written whole through a temporary file created 0600 beside the target, and
// no symbolic link ever followed, so nothing written here can land in another file or be seen
// by another user, even for a moment. Every failure comes back as a typed error naming the path
// and the system's reason; nothing here throws.
//
// These calls block on the disk: the GUI thread reaches them through the file writer, except
// for the start-up load that comes before the window.

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <expected>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

struct PrivateFileError {
    enum class Kind {
        // The folder could not be made, or something other than a folder is in its place.
        folder,
        // A symbolic link stands where a folder or file was to be.
        symbolicLink,
        // Creating, writing or flushing the temporary file, or a write step that was cut short.
        writing,
        // Renaming the written file into place.
        replacing,
        reading,
        // The file is bigger than the reader accepts.
        tooLarge,
        // Moving a file aside: the name is taken or the rename failed.
        moving,
    };
    Kind kind = Kind::writing;
    // "<what> <path>: <system reason>", for logs.
    std::string detail;

    friend bool operator==(const PrivateFileError&, const PrivateFileError&) = default;
};

template <class T = void>
using PrivateFileResult = std::expected<T, PrivateFileError>;

namespace privateFiles {

struct WriteOptions {
    mode_t mode = 0600;
    // Given: the new file carries this modification time.
    std::optional<timespec> modified;
    // Tests only: runs once the temporary file is written and flushed, before it replaces the
    // target, with the temporary file's path. An error cuts the write short there.
    std::function<PrivateFileResult<>(const std::filesystem::path& temporary)> beforeReplacing;
};

// Creates `folder` and its missing parents with mode 0700. An existing folder is narrowed to
// 0700 when it grants anything to others; a symbolic link in the folder's own place is refused
// (parents may be links, as a home folder often is).
PrivateFileResult<> ensureFolder(const std::filesystem::path& folder);

// Writes `bytes` to a temporary file beside `target`, flushes it to disk, renames it over
// `target` and flushes the folder, so a reader sees the old file or the new one and never a
// part. A symbolic link at `target` is replaced, never followed. On failure the temporary file
// is gone and `target` is as it was.
PrivateFileResult<> writeAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    const WriteOptions& options = {});

// Appends to `path`, creating it with mode 0600; refuses a symbolic link at `path`.
PrivateFileResult<> append(const std::filesystem::path& path, std::string_view bytes);

// Nullopt when nothing is at `path`; otherwise the whole content. A symbolic link is not
// followed (it reads as an error), nor is a file over `limit` bytes read.
PrivateFileResult<std::optional<std::string>> readIfPresent(const std::filesystem::path& path,
                                                            std::size_t limit = 64 * 1024 * 1024);

// Copies `from` over `to` through a temporary file, keeping the mode and modification time of
// `from`; a failure at any point leaves `to` as it was.
PrivateFileResult<> copyReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Renames `from` to `to` unless something already exists at `to`.
PrivateFileResult<> moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Renames `from` over `to`; nothing at `from` is no failure.
PrivateFileResult<> moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// The size of the file at `path` (a link's own size), nullopt when nothing is there.
std::optional<std::uintmax_t> sizeIfPresent(const std::filesystem::path& path);

// Removes a file or link; whether it worked is of no interest to the callers.
void removeQuietly(const std::filesystem::path& path);

// The modification time, nullopt when the file's attributes cannot be read.
std::optional<timespec> modificationTime(const std::filesystem::path& path);

// Whether `name` is one of the temporary files `writeAtomically` makes:
// ".<target name>.tmp-<16 lowercase hex digits>".
bool isTemporaryName(std::string_view name);

// Removes the temporary files an interrupted write left in `folder` (a crash between creating
// and renaming one). A write holds a lock on its temporary file for as long as it lives, so one
// that is still being written is skipped. Gives the names removed.
std::vector<std::string> removeStaleTemporaries(const std::filesystem::path& folder);

}  // namespace privateFiles
}  // namespace orvel
