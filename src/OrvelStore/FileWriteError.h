#pragma once

// Why writing a store file failed. The file on disk is then the one written before.

#include <string>

namespace orvel {

struct FileWriteError {
    enum class Kind { creatingFolder, encoding, writing };
    Kind kind = Kind::writing;
    // The file meant ("cached-speakers.json"), so an alert can name it.
    std::string fileName;
    // What the system said, for logs.
    std::string detail;

    friend bool operator==(const FileWriteError&, const FileWriteError&) = default;
};

}  // namespace orvel
