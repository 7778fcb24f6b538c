#pragma once

// Why an update check or an install stopped. Every failure of the update path is one of these;
// the description is the text of the failure log line and of the update dialog.

#include <expected>
#include <string>

namespace orvel {

struct UpdateError {
    enum class Kind {
        // The address is not one the updater may reach (not HTTPS).
        insecureAddress,
        // The server could not be reached or answered with an error status.
        network,
        // The feed or the archive ran past its time limit.
        timedOut,
        // The feed is larger than the updater reads.
        feedTooLarge,
        // The feed is not a well-formed appcast.
        malformedFeed,
        // The archive is larger than its declared length or the absolute limit.
        archiveTooLarge,
        // The archive ended before its declared length.
        truncated,
        // The archive's signature does not match the build's public key.
        badSignature,
        // The archive could not be written in place or saved.
        installFailed,
        // The updater went away while working.
        cancelled,
    };
    Kind kind = Kind::network;
    std::string detail;

    // "<what went wrong>: <detail>", for the log and the dialog.
    std::string describe() const;

    friend bool operator==(const UpdateError&, const UpdateError&) = default;
};

template <class T>
using UpdateResult = std::expected<T, UpdateError>;

inline std::unexpected<UpdateError> updateFailure(UpdateError::Kind kind, std::string detail) {
    return std::unexpected(UpdateError{kind, std::move(detail)});
}

}  // namespace orvel
