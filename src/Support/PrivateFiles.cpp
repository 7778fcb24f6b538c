#include "PrivateFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace orvel::privateFiles {
namespace {

constexpr std::string_view temporaryInfix = ".tmp-";
constexpr std::size_t temporaryDigits = 16;

PrivateFileError failure(PrivateFileError::Kind kind, std::string_view what, const std::filesystem::path& path,
                         int error) {
    return PrivateFileError{kind, std::string(what) + " " + path.string() + ": " + std::strerror(error)};
}

// Closes on every path out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    // The close's own result: an append may only show its failure here.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// So a rename survives a crash; a folder that cannot be opened just goes without.
void syncFolder(const std::filesystem::path& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isOpen()) ::fsync(fd.get());
}

std::string randomDigits() {
    std::array<unsigned char, temporaryDigits / 2> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), GRND_NONBLOCK) != static_cast<ssize_t>(bytes.size())) {
        // Only uniqueness matters here, and O_EXCL guards it anyway.
        static std::atomic<unsigned long long> counter{0};
        const unsigned long long mixed =
            (static_cast<unsigned long long>(::getpid()) << 32) ^ ++counter ^ static_cast<unsigned long long>(::time(nullptr));
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(mixed >> (8 * i));
    }
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += hex[b >> 4];
        out += hex[b & 0xF];
    }
    return out;
}

struct Temporary {
    std::filesystem::path path;
    int fd = -1;
};

// Creates the temporary file with its final mode and takes its lock. A start-up cleanup may
// have removed the file between its creation and the lock (it cannot tell a write that has not
// locked yet from debris); the lock then holds an unlinked file, and a fresh name is tried.
PrivateFileResult<Temporary> createTemporary(const std::filesystem::path& target, mode_t mode) {
    int lastError = EEXIST;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::filesystem::path path =
            folderOf(target) / ("." + target.filename().string() + std::string(temporaryInfix) + randomDigits());
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) {
            lastError = errno;
            if (lastError == EEXIST) continue;
            break;
        }
        struct stat info {};
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &info) != 0) {
            lastError = errno;
        } else if (info.st_nlink > 0) {
            return Temporary{path, fd};
        } else {
            lastError = ENOENT;
        }
        ::close(fd);
    }
    return std::unexpected(failure(PrivateFileError::Kind::writing, "cannot create a temporary file beside", target,
                                   lastError));
}

}  // namespace

PrivateFileResult<> ensureFolder(const std::filesystem::path& folder) {
    // The parents first; the folder's own place is judged without following a link.
    std::filesystem::path partial;
    for (const auto& component : folder.parent_path()) {
        partial /= component;
        if (component.empty() || partial == partial.root_path()) continue;
        if (::mkdir(partial.c_str(), 0700) == 0) continue;
        const int error = errno;
        struct stat info {};
        if (error == EEXIST && ::stat(partial.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
        return std::unexpected(failure(PrivateFileError::Kind::folder, "cannot create folder", partial, error));
    }
    if (::mkdir(folder.c_str(), 0700) == 0) return {};
    if (errno != EEXIST) {
        return std::unexpected(failure(PrivateFileError::Kind::folder, "cannot create folder", folder, errno));
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return std::unexpected(failure(PrivateFileError::Kind::folder, "cannot inspect folder", folder, errno));
    }
    if (S_ISLNK(info.st_mode)) {
        return std::unexpected(failure(PrivateFileError::Kind::symbolicLink, "refusing the link at", folder, ELOOP));
    }
    if (!S_ISDIR(info.st_mode)) {
        return std::unexpected(failure(PrivateFileError::Kind::folder, "not a folder:", folder, ENOTDIR));
    }
    if ((info.st_mode & 0077) != 0 && ::chmod(folder.c_str(), info.st_mode & 0700) != 0) {
        return std::unexpected(failure(PrivateFileError::Kind::folder, "cannot make private", folder, errno));
    }
    return {};
}

PrivateFileResult<> writeAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    const WriteOptions& options) {
    auto created = createTemporary(target, options.mode);
    if (!created) return std::unexpected(created.error());
    const std::filesystem::path temporary = created->path;
    FileDescriptor fd(created->fd);

    auto fail = [&](PrivateFileError error) -> PrivateFileResult<> {
        ::unlink(temporary.c_str());
        return std::unexpected(std::move(error));
    };
    // The umask may have narrowed the mode asked for; never widened past it.
    bool ok = ::fchmod(fd.get(), options.mode) == 0 && writeAll(fd.get(), bytes);
    if (ok && options.modified) {
        const timespec times[2] = {{0, UTIME_OMIT}, *options.modified};
        ok = ::futimens(fd.get(), times) == 0;
    }
    ok = ok && ::fsync(fd.get()) == 0;
    if (!ok) return fail(failure(PrivateFileError::Kind::writing, "cannot write", target, errno));
    if (options.beforeReplacing) {
        if (auto going = options.beforeReplacing(temporary); !going) return fail(going.error());
    }
    // Renamed while still locked (the lock goes with the descriptor), so a cleanup never takes
    // a finished file for debris.
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return fail(failure(PrivateFileError::Kind::replacing, "cannot replace", target, errno));
    }
    syncFolder(folderOf(target));
    return {};
}

PrivateFileResult<> append(const std::filesystem::path& path, std::string_view bytes) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.isOpen()) {
        const int error = errno;
        return std::unexpected(failure(error == ELOOP ? PrivateFileError::Kind::symbolicLink
                                                      : PrivateFileError::Kind::writing,
                                       "cannot open", path, error));
    }
    if (!writeAll(fd.get(), bytes) || fd.close() != 0) {
        return std::unexpected(failure(PrivateFileError::Kind::writing, "cannot write", path, errno));
    }
    return {};
}

PrivateFileResult<std::optional<std::string>> readIfPresent(const std::filesystem::path& path, std::size_t limit) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.isOpen()) {
        const int error = errno;
        if (error == ENOENT) return std::optional<std::string>();
        return std::unexpected(failure(error == ELOOP ? PrivateFileError::Kind::symbolicLink
                                                      : PrivateFileError::Kind::reading,
                                       "cannot open", path, error));
    }
    std::string content;
    std::array<char, 16384> buffer{};
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::unexpected(failure(PrivateFileError::Kind::reading, "cannot read", path, errno));
        if (n == 0) break;
        content.append(buffer.data(), static_cast<std::size_t>(n));
        if (content.size() > limit) {
            return std::unexpected(failure(PrivateFileError::Kind::tooLarge, "refusing to read", path, EFBIG));
        }
    }
    return std::optional<std::string>(std::move(content));
}

PrivateFileResult<> copyReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    struct stat info {};
    if (::lstat(from.c_str(), &info) != 0) {
        return std::unexpected(failure(PrivateFileError::Kind::reading, "cannot inspect", from, errno));
    }
    auto bytes = readIfPresent(from);
    if (!bytes) return std::unexpected(bytes.error());
    if (!*bytes) return std::unexpected(failure(PrivateFileError::Kind::reading, "cannot read", from, ENOENT));
    return writeAtomically(to, **bytes, WriteOptions{static_cast<mode_t>(info.st_mode & 07777), info.st_mtim, {}});
}

PrivateFileResult<> moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) {
        return std::unexpected(failure(PrivateFileError::Kind::moving, "cannot move", from, errno));
    }
    // A file system without the no-replace rename: a hard link fails the same way on an
    // existing name.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return std::unexpected(failure(PrivateFileError::Kind::moving, "cannot move", from, errno));
    }
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        return std::unexpected(failure(PrivateFileError::Kind::moving, "cannot move", from, error));
    }
    return {};
}

PrivateFileResult<> moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::rename(from.c_str(), to.c_str()) == 0 || errno == ENOENT) return {};
    return std::unexpected(failure(PrivateFileError::Kind::moving, "cannot move", from, errno));
}

std::optional<std::uintmax_t> sizeIfPresent(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::uintmax_t>(info.st_size);
}

void removeQuietly(const std::filesystem::path& path) { ::unlink(path.c_str()); }

std::optional<timespec> modificationTime(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
    return info.st_mtim;
}

bool isTemporaryName(std::string_view name) {
    const std::size_t suffix = temporaryInfix.size() + temporaryDigits;
    // "." + at least one character of the target's name + the suffix.
    if (name.size() < 2 + suffix || name.front() != '.') return false;
    const std::string_view tail = name.substr(name.size() - suffix);
    if (!tail.starts_with(temporaryInfix)) return false;
    for (char c : tail.substr(temporaryInfix.size())) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

std::vector<std::string> removeStaleTemporaries(const std::filesystem::path& folder) {
    std::vector<std::string> removed;
    FileDescriptor dirFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd.isOpen()) return removed;
    DIR* dir = ::fdopendir(::dup(dirFd.get()));
    if (dir == nullptr) return removed;
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(dir)) {
        if (isTemporaryName(entry->d_name)) candidates.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : candidates) {
        FileDescriptor fd(::openat(dirFd.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd.isOpen()) continue;
        struct stat info {};
        if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        // A live write holds the lock until its file is renamed away.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        // Removed while locked, so a write that creates the name anew cannot lose its file.
        struct stat current {};
        if (::fstatat(dirFd.get(), name.c_str(), &current, AT_SYMLINK_NOFOLLOW) != 0 || current.st_ino != info.st_ino ||
            current.st_dev != info.st_dev) {
            continue;
        }
        if (::unlinkat(dirFd.get(), name.c_str(), 0) == 0) removed.push_back(name);
    }
    return removed;
}

}  // namespace orvel::privateFiles
