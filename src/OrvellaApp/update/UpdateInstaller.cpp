#include "OrvellaApp/update/UpdateInstaller.h"

#include <sys/stat.h>

#include <QStandardPaths>

#include <string_view>
#include <system_error>

#include "Support/PrivateFiles.h"

namespace orvel {

namespace {

constexpr std::size_t maxFileNameLength = 128;
constexpr int maxNameAttempts = 100;
constexpr mode_t savedArchiveMode = 0644;

std::unexpected<UpdateError> installFailure(std::string detail) {
    return updateFailure(UpdateError::Kind::installFailed, std::move(detail));
}

UpdateResult<UpdateInstallOutcome> replaceProgram(const std::filesystem::path& program, const QByteArray& archive) {
    struct stat info {};
    if (::lstat(program.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return installFailure("the running program " + program.string() + " is not a regular file");
    }
    // The new program must start like the old one: its permissions, and runnable by its owner.
    const mode_t mode = static_cast<mode_t>((info.st_mode & 0777) | S_IXUSR);
    privateFiles::WriteOptions options;
    options.mode = mode;
    const PrivateFileResult<> written =
        privateFiles::writeAtomically(program, std::string_view(archive.constData(), archive.size()), options);
    if (!written) return installFailure(written.error().detail);
    return UpdateInstallOutcome{UpdateInstallOutcome::Kind::replacedProgram, program};
}

UpdateResult<UpdateInstallOutcome> saveToDownloads(const std::filesystem::path& folder, const QByteArray& archive,
                                                   const std::string& fileName) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return installFailure("cannot create " + folder.string() + ": " + error.message());
    const std::string name = updateInstaller::safeFileName(fileName);
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        const std::filesystem::path candidate =
            folder / (attempt == 0 ? name : std::to_string(attempt) + "-" + name);
        if (privateFiles::sizeIfPresent(candidate)) continue;
        privateFiles::WriteOptions options;
        options.mode = savedArchiveMode;
        const PrivateFileResult<> written =
            privateFiles::writeAtomically(candidate, std::string_view(archive.constData(), archive.size()), options);
        if (!written) return installFailure(written.error().detail);
        return UpdateInstallOutcome{UpdateInstallOutcome::Kind::savedToDownloads, candidate};
    }
    return installFailure("no free name for " + name + " in " + folder.string());
}

}  // namespace

UpdateInstallTarget UpdateInstallTarget::fromEnvironment(const LaunchEnvironment& environment) {
    UpdateInstallTarget target;
    if (const auto appImage = environment.find("APPIMAGE"); appImage != environment.end() && !appImage->second.empty()) {
        target.appImage = std::filesystem::path(appImage->second);
    }
    QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (downloads.isEmpty()) downloads = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    target.downloads = std::filesystem::path(downloads.toStdString());
    return target;
}

namespace updateInstaller {

std::string safeFileName(const std::string& fileName) {
    std::string safe;
    for (const char c : fileName) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                             c == '-' || c == '_';
        if (allowed && !(safe.empty() && c == '.')) safe.push_back(c);
        if (safe.size() == maxFileNameLength) break;
    }
    return safe.empty() ? std::string("Orvella-update") : safe;
}

UpdateResult<UpdateInstallOutcome> install(const UpdateInstallTarget& target, const QByteArray& archive,
                                           const std::string& fileName) {
    if (target.appImage) return replaceProgram(*target.appImage, archive);
    return saveToDownloads(target.downloads, archive, fileName);
}

}  // namespace updateInstaller
}  // namespace orvel
