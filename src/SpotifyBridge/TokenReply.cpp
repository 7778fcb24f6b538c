#include "TokenReply.h"

#include <map>

#include "OrvelDomain/Json.h"
#include "SpotifyBridge/FormBody.h"
#include "SpotifyBridge/ReplyReading.h"
#include "SpotifyBridge/Secret.h"

namespace orvel {

namespace {
// The fields are filled in place and wiped after encoding, so the only copy of the secrets
// that outlives this call is the body, which the caller wipes after sending.
std::string wipingFormBody(std::map<std::string, std::string>& fields) {
    std::string body = formBody(fields);
    for (auto& [key, value] : fields) secret::wipe(value);
    return body;
}
}  // namespace

std::string authorizationCodeFormBody(std::string_view code, std::string_view verifier,
                                      std::string_view clientID, std::string_view redirectURI) {
    std::map<std::string, std::string> fields;
    fields.emplace("grant_type", "authorization_code");
    fields.emplace("code", code);
    fields.emplace("redirect_uri", redirectURI);
    fields.emplace("client_id", clientID);
    fields.emplace("code_verifier", verifier);
    return wipingFormBody(fields);
}

std::string refreshFormBody(std::string_view refreshToken, std::string_view clientID) {
    std::map<std::string, std::string> fields;
    fields.emplace("grant_type", "refresh_token");
    fields.emplace("refresh_token", refreshToken);
    fields.emplace("client_id", clientID);
    return wipingFormBody(fields);
}

std::expected<SpotifyTokenSet, SpotifyBridgeError> parseTokenReply(int status, std::string_view body) {
    auto refused = [status] {
        return std::unexpected(SpotifyBridgeError::authorizationFailed("token HTTP " + std::to_string(status)));
    };
    if (status < 200 || status > 299) return refused();
    // Strict, unlike the other replies: the tokens are stored and sent back as credentials, so a
    // token the parser would have to mend is refused rather than kept altered.
    auto reply = json::parse(body);
    if (!reply) return refused();
    // The parsed reply holds copies of the tokens; the returned set is the one to keep.
    secret::WipeOnExit wipeReply(*reply);
    if (!reply->is_object()) return refused();
    const std::string* accessToken = reply::stringMember(*reply, "access_token");
    if (accessToken == nullptr) return refused();

    SpotifyTokenSet tokens;
    tokens.accessToken = *accessToken;
    if (const std::string* refreshToken = reply::stringMember(*reply, "refresh_token")) {
        tokens.refreshToken = *refreshToken;
    }
    tokens.expiresIn = reply::integerMember(*reply, "expires_in").value_or(3600);
    return tokens;
}

}  // namespace orvel
