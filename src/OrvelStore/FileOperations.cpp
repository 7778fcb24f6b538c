#include "FileOperations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace orvel::fileops {
namespace {

std::string systemError(std::string_view what, int error) {
    return std::string(what) + ": " + std::strerror(error);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// So the rename itself survives a crash; a folder that cannot be opened just goes without.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

}  // namespace

std::expected<void, std::string> createPrivateFolders(const std::filesystem::path& folder) {
    std::filesystem::path partial;
    for (const auto& component : folder) {
        partial /= component;
        if (partial == partial.root_path()) continue;
        if (::mkdir(partial.c_str(), 0700) == 0) continue;
        const int error = errno;
        struct stat info {};
        if (error == EEXIST && ::stat(partial.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
        return std::unexpected(systemError("cannot create folder " + partial.string(), error));
    }
    return {};
}

std::optional<std::expected<std::string, std::string>> readIfPresent(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) return std::nullopt;
        return std::unexpected(systemError("cannot open " + path.string(), error));
    }
    std::string content;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return std::unexpected(systemError("cannot read " + path.string(), error));
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

std::expected<void, std::string> writeAtomically(const std::filesystem::path& target, std::string_view bytes,
                                                 const AtomicWriteOptions& options) {
    std::string temporary = (folderOf(target) / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return std::unexpected(systemError("cannot create a temporary file beside " + target.string(), errno));
    bool ok = ::fchmod(fd, options.mode) == 0 && writeAll(fd, bytes);
    if (ok && options.modified) {
        const timespec times[2] = {{0, UTIME_OMIT}, *options.modified};
        ok = ::futimens(fd, times) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return std::unexpected(systemError("cannot write " + target.string(), error));
    }
    syncFolder(folderOf(target));
    return {};
}

std::expected<void, std::string> copyReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    struct stat info {};
    if (::stat(from.c_str(), &info) != 0) return std::unexpected(systemError("cannot inspect " + from.string(), errno));
    auto bytes = readIfPresent(from);
    if (!bytes) return std::unexpected("no file at " + from.string());
    if (!*bytes) return std::unexpected(bytes->error());
    return writeAtomically(to, **bytes, AtomicWriteOptions{static_cast<mode_t>(info.st_mode & 07777), info.st_mtim});
}

std::expected<void, std::string> moveWithoutReplacing(const std::filesystem::path& from,
                                                      const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) return std::unexpected(systemError("cannot move " + from.string(), errno));
    // A file system without the no-replace rename: a hard link fails the same way on an
    // existing name.
    if (::link(from.c_str(), to.c_str()) != 0) return std::unexpected(systemError("cannot move " + from.string(), errno));
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        return std::unexpected(systemError("cannot move " + from.string(), error));
    }
    return {};
}

void removeQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

std::optional<timespec> modificationTime(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return info.st_mtim;
}

}  // namespace orvel::fileops
