#pragma once

// Which addresses the updater may fetch from: HTTPS only. Tests against a loopback server turn
// on plain http for 127.0.0.1; the program's own settings never do.

#include <QUrl>

namespace orvel {

struct UpdateAddressPolicy {
    bool allowLoopbackHttp = false;

    bool allows(const QUrl& url) const;

    friend bool operator==(const UpdateAddressPolicy&, const UpdateAddressPolicy&) = default;
};

}  // namespace orvel
