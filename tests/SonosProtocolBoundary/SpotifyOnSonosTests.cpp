#include <gtest/gtest.h>

#include "SonosProtocolBoundary/DIDLLite.h"
#include "SonosProtocolBoundary/SpotifyOnSonos.h"
#include "SonosProtocolBoundary/SystemPropertiesService.h"
#include "SonosProtocolBoundary/XMLNode.h"

using namespace orvel;

namespace {

std::string accounts(const std::string& entries) {
    return "<?xml version=\"1.0\" ?><ZPSupportInfo><Accounts LastUpdateDevice=\"RINCON_000E58A0000101400\" Version=\"8\">" +
           entries + "</Accounts></ZPSupportInfo>";
}

std::string account(const char* type, const char* serial, const char* deleted) {
    return std::string("<Account Type=\"") + type + "\" SerialNum=\"" + serial + "\" Deleted=\"" + deleted +
           "\"><UN>user</UN><MD>1</MD><NN>Name</NN></Account>";
}

}  // namespace

TEST(SpotifyOnSonos, LinkedAccountFromTheAccountsPage) {
    struct Case { const char* name; std::string document; std::optional<SpotifyAccountOnSonos> account; };
    const std::vector<Case> cases = {
        {"current service", accounts(account("519", "1", "0") + account("3079", "2", "0")), SpotifyAccountOnSonos{3079, "2"}},
        {"older service", accounts(account("2311", "5", "0")), SpotifyAccountOnSonos{2311, "5"}},
        {"current preferred over older", accounts(account("2311", "5", "0") + account("3079", "6", "0")),
         SpotifyAccountOnSonos{3079, "6"}},
        {"deleted does not count", accounts(account("3079", "2", "1")), std::nullopt},
        {"serial that is not a number", accounts(account("3079", "2&amp;sn=9", "0") + account("3079", "", "0")), std::nullopt},
        {"not linked", accounts(account("519", "1", "0")), std::nullopt},
        {"no accounts", accounts(""), std::nullopt},
        {"accounts as root", "<Accounts>" + account("3079", "3", "0") + "</Accounts>", SpotifyAccountOnSonos{3079, "3"}},
    };
    for (const auto& c : cases) {
        auto parsed = SpotifyOnSonos::parseAccounts(c.document);
        ASSERT_TRUE(parsed) << c.name << ": " << parsed.error().message;
        EXPECT_EQ(*parsed, c.account) << c.name;
    }
    for (const char* bad : {"", "<ZPSupportInfo/>", "<Accounts>"}) {
        EXPECT_FALSE(SpotifyOnSonos::parseAccounts(bad)) << bad;
    }
}

TEST(SpotifyOnSonos, EnqueueRequestCarriesTheTrackAndItsMetadataSafely) {
    const auto item = *SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
    const SpotifyAccountOnSonos linked{3079, "2"};
    SpotifyTrackMetadata metadata{"Rock & Roll <Live>", "Band \"X\"", "Album", "https://i.scdn.co/image/ab", std::nullopt};

    auto request = SpotifyOnSonos::addToQueueRequest(item, metadata, linked, 4);
    const std::string didlText = request.arguments.at(2).second;
    EXPECT_EQ(request, (SOAPRequest{UPnPService::avTransport, "AddURIToQueue",
                                    {{"InstanceID", "0"},
                                     {"EnqueuedURI", "x-sonos-spotify:spotify%3atrack%3a4uLU6hMCjMI75M1A2tKUQC?sid=12&flags=8224&sn=2"},
                                     {"EnqueuedURIMetaData", didlText},
                                     {"DesiredFirstTrackNumberEnqueued", "4"},
                                     {"EnqueueAsNext", "1"}}}));
    // The metadata is a DIDL-Lite document of its own that reads back to what went in.
    auto items = didl::parseItems(didlText, *SpeakerAddress::make("127.0.6.1"));
    ASSERT_TRUE(items && items->size() == 1u);
    EXPECT_EQ((*items)[0].title, "Rock & Roll <Live>");
    EXPECT_EQ((*items)[0].artist, "Band \"X\"");
    EXPECT_EQ((*items)[0].album, "Album");
    const auto root = XMLNode::parse(didlText);
    const XMLNode* desc = root->find("item/desc");
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(desc->attribute("id"), "cdudn");
    EXPECT_EQ(desc->text, "SA_RINCON3079_X_#Svc3079-0-Token");

    const SpotifyAccountOnSonos older{2311, "7"};
    EXPECT_EQ(SpotifyOnSonos::enqueuedURI(item, older), "x-sonos-spotify:spotify%3atrack%3a4uLU6hMCjMI75M1A2tKUQC?sid=9&flags=8224&sn=7");
    EXPECT_NE(SpotifyOnSonos::enqueuedMetadata(item, metadata, older).find("SA_RINCON2311_X_#Svc2311-0-Token"), std::string::npos);

    // An id read from JSON is not checked, so it is encoded rather than trusted.
    auto hostile = SpotifyURI::fromJson(Json{{"kind", "track"}, {"id", "a?sn=1&x=<y>"}});
    ASSERT_TRUE(hostile);
    EXPECT_EQ(SpotifyOnSonos::enqueuedURI(*hostile, linked),
              "x-sonos-spotify:spotify%3atrack%3aa%3fsn%3d1%26x%3d%3cy%3e?sid=12&flags=8224&sn=2");
    EXPECT_TRUE(XMLNode::parse(SpotifyOnSonos::enqueuedMetadata(*hostile, metadata, linked)));

    for (auto [text, expected] : std::vector<std::pair<std::string, std::optional<std::int64_t>>>{
             {"5", 5}, {"0", std::nullopt}, {"x", std::nullopt}}) {
        auto parsed = SpotifyOnSonos::parseAddToQueue(SOAPResponse{{{"FirstTrackNumberEnqueued", text}}});
        EXPECT_EQ(parsed ? std::optional(*parsed) : std::nullopt, expected) << text;
    }
}

TEST(SystemPropertiesService, StringValuesTellNotSetFromFailures) {
    struct Case {
        const char* name;
        SOAPResult result;
        std::optional<std::optional<std::string>> value;  // outer none: an error
    };
    const std::vector<Case> cases = {
        {"set", SOAPResponse{{{"StringValue", "Home"}}}, std::optional<std::string>("Home")},
        {"set to empty", SOAPResponse{{{"StringValue", ""}}}, std::optional<std::string>("")},
        {"not set", std::unexpected(SOAPError::fault({800, "UPnPError"})), std::optional<std::string>()},
        {"other fault", std::unexpected(SOAPError::fault({402, "UPnPError"})), std::nullopt},
        {"unreachable", std::unexpected(SOAPError::transport(TransportError::connectionRefused("x"))), std::nullopt},
        {"reply without a value", SOAPResponse{}, std::nullopt},
    };
    for (const auto& c : cases) {
        auto value = SystemPropertiesService::stringValue(c.result);
        EXPECT_EQ(value ? std::optional<std::optional<std::string>>(*value) : std::nullopt, c.value) << c.name;
    }
}
