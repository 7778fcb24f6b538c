#pragma once

// Puts a verified archive where it belongs. A running AppImage is replaced in one step: the new
// program is written to a temporary file beside it, flushed to disk and renamed over it, so the
// old program stays whole until the new one is complete, and it keeps its executable mode.
// Any other installation cannot be replaced by us: the archive is saved to the Downloads
// folder under a name not yet taken. Blocks on the disk; runs on the file writer's thread.

#include <QByteArray>

#include <filesystem>
#include <optional>
#include <string>

#include "OrvelUI/shell/LaunchView.h"
#include "OrvellaApp/update/UpdateError.h"

namespace orvel {

struct UpdateInstallTarget {
    // The AppImage this process runs from ($APPIMAGE); none for any other installation.
    std::optional<std::filesystem::path> appImage;
    std::filesystem::path downloads;

    static UpdateInstallTarget fromEnvironment(const LaunchEnvironment& environment);

    friend bool operator==(const UpdateInstallTarget&, const UpdateInstallTarget&) = default;
};

struct UpdateInstallOutcome {
    enum class Kind { replacedProgram, savedToDownloads };
    Kind kind = Kind::replacedProgram;
    std::filesystem::path path;

    friend bool operator==(const UpdateInstallOutcome&, const UpdateInstallOutcome&) = default;
};

namespace updateInstaller {

// `fileName` is the archive's name on the server; only a safe form of it is used.
UpdateResult<UpdateInstallOutcome> install(const UpdateInstallTarget& target, const QByteArray& archive,
                                           const std::string& fileName);

// The name the archive is saved under: letters, digits, '.', '-' and '_' of `fileName`, never
// starting with a dot; a fixed name when nothing is left.
std::string safeFileName(const std::string& fileName);

}  // namespace updateInstaller
}  // namespace orvel
