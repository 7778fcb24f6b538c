#pragma once

// The token endpoint's side of the authorization-code flow: the two form bodies it takes and
// the reading of its reply.

#include <expected>
#include <string>
#include <string_view>

#include "OrvelDomain/SpotifyBridgeError.h"
#include "SpotifyBridge/SpotifyTokenSet.h"

namespace orvel {

// Form bodies; pieces in the order client_id, code, code_verifier, grant_type, redirect_uri.
std::string authorizationCodeFormBody(std::string_view code, std::string_view verifier,
                                      std::string_view clientID, std::string_view redirectURI);
// Pieces in the order client_id, grant_type, refresh_token.
std::string refreshFormBody(std::string_view refreshToken, std::string_view clientID);

// A 2xx reply whose JSON object has a string "access_token" gives the token set ("expires_in"
// 3600 when missing or not a usable number); every other reply, including one the strict JSON
// parser refuses, is authorizationFailed "token HTTP <status>". The body of a refused reply is
// never read.
std::expected<SpotifyTokenSet, SpotifyBridgeError> parseTokenReply(int status, std::string_view body);

}  // namespace orvel
