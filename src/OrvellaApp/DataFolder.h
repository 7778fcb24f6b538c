#pragma once

// The application's data folder: "$XDG_DATA_HOME/Orvella" (by default
// ~/.local/share/Orvella). It holds the store's files and the token vault, so it is private
// to the user.

#include <QString>

namespace orvel {

struct DataFolder {
    DataFolder() = delete;

    static constexpr const char* name = "Orvella";

    // Where the folder is; nothing is created.
    static QString path();
    // Creates the folder (and missing parents) with mode 0700, or narrows an existing one to
    // 0700, and removes the temporary files of writes a crash cut short. False when the folder
    // cannot be made, is not a folder or is a symbolic link.
    static bool ensurePrivate(const QString& path);
};

}  // namespace orvel
