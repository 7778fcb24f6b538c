#include "OrvellaApp/update/UpdateError.h"

namespace orvel {

namespace {

const char* summary(UpdateError::Kind kind) {
    switch (kind) {
        case UpdateError::Kind::insecureAddress: return "the update address is not secure";
        case UpdateError::Kind::network: return "the update server could not be reached";
        case UpdateError::Kind::timedOut: return "the update server took too long";
        case UpdateError::Kind::feedTooLarge: return "the update feed is too large";
        case UpdateError::Kind::malformedFeed: return "the update feed is not valid";
        case UpdateError::Kind::archiveTooLarge: return "the update is larger than announced";
        case UpdateError::Kind::truncated: return "the update download was incomplete";
        case UpdateError::Kind::badSignature: return "the update's signature is not valid";
        case UpdateError::Kind::installFailed: return "the update could not be installed";
        case UpdateError::Kind::cancelled: return "the update was cancelled";
    }
    return "the update failed";
}

}  // namespace

std::string UpdateError::describe() const {
    std::string text = summary(kind);
    if (!detail.empty()) text += ": " + detail;
    return text;
}

}  // namespace orvel
