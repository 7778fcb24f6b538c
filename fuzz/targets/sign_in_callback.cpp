// The sign-in callback URL as it reaches the program (over the relay or as an argument) and
// the code read from it. Input: the expected state on the first line, the URL after it.

#include <QString>
#include <QStringList>
#include <QUrl>

#include "FuzzInput.h"
#include "SpotifyBridge/CallbackRelay.h"
#include "SpotifyBridge/SpotifyBridgeSignIn.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvel;
    const auto [state, url] = fuzz::splitFirstLine(fuzz::text(data, size));
    const QString scheme = QStringLiteral("orvella");
    const QByteArrayView encoded(url.data(), qsizetype(url.size()));
    if (auto callback = CallbackRelay::parseCallback(encoded, scheme))
        (void)SpotifyBridgeSignIn::codeFromCallback(*callback, state);
    const QString asText = QString::fromUtf8(encoded);
    (void)CallbackRelay::callbackFromArguments(QStringList{QStringLiteral("orvella"), asText}, scheme);
    (void)SpotifyBridgeSignIn::codeFromCallback(QUrl(asText), state);
    return 0;
}
