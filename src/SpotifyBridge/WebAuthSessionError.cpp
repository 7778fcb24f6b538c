#include "WebAuthSessionError.h"

namespace orvel {

std::string WebAuthSessionError::description() const {
    if (const auto* e = asInvalidRequest()) return "The sign-in could not start: " + e->detail + ".";
    if (const auto* e = asBrowserUnavailable()) return "The web browser could not be opened: " + e->detail + ".";
    if (isCancelled()) return "The sign-in was cancelled.";
    return "The sign-in did not finish in time.";
}

}  // namespace orvel
