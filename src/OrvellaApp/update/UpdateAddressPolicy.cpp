#include "OrvellaApp/update/UpdateAddressPolicy.h"

namespace orvel {

bool UpdateAddressPolicy::allows(const QUrl& url) const {
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty()) return false;
    if (url.scheme() == QLatin1String("https")) return true;
    return allowLoopbackHttp && url.scheme() == QLatin1String("http") && url.host() == QLatin1String("127.0.0.1");
}

}  // namespace orvel
