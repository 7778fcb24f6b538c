#include <gtest/gtest.h>

#include <optional>
#include <unordered_set>
#include <vector>

#include "OrvelDomain/CommandOutcome.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosCommandError.h"
#include "TopologyFixtures.h"

using namespace orvel;
using orvel::testing::group;
using orvel::testing::sp;
using orvel::testing::speakers;

namespace {

const SpotifyURI album = *SpotifyURI::make("spotify:album:1DFixLWuPkv3KT3TnV35m3");
const SpotifyTrackMetadata metadata{"Song", "Band", "Album", std::nullopt, Duration::seconds(std::int64_t{180})};
const PresetPill evening(*PresetID::make("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"), "Evening", sp('C'),
                         {sp('B'), sp('A'), sp('B'), sp('C')});

// One command of every case, in case order.
std::vector<SonosCommand> everyCommand() {
    return {
        SonosCommand::group(sp('B'), group('A')),
        SonosCommand::ungroup(sp('B')),
        SonosCommand::applyPreset(evening),
        SonosCommand::setVolume(DiscreteVolume::snappingPercent(30), VolumeTarget::group(group('A'))),
        SonosCommand::playPause(PlayPause::pause, group('A')),
        SonosCommand::nextTrack(group('A')),
        SonosCommand::previousTrack(group('A')),
        SonosCommand::seekToQueueTrack(3, group('A')),
        SonosCommand::enqueueAndPlaySpotify(album, metadata, group('A'), Duration::seconds(std::int64_t{42})),
        SonosCommand::savePresets({evening}),
        SonosCommand::setSystemName("Home"),
    };
}

}  // namespace

TEST(SonosCommand, TopologyTargetOfEveryCase) {
    const std::optional<TopologyTarget> expected[] = {
        TopologyTarget::memberOf(group('A'), sp('B')),
        TopologyTarget::standalone(sp('B')),
        TopologyTarget::exactGroup(sp('C'), speakers("AB")),
        std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
    };
    auto commands = everyCommand();
    ASSERT_EQ(commands.size(), std::size(expected));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(commands[i].caseIndex(), i);
        EXPECT_EQ(commands[i].topologyTarget(), expected[i]) << commands[i].caseName();
    }
    // The target names the group first, the reverse of the command's own order.
    auto target = SonosCommand::group(sp('D'), group('E')).topologyTarget();
    ASSERT_TRUE(target && target->isMemberOf());
    EXPECT_EQ(target->asMemberOf()->group, group('E'));
    EXPECT_EQ(target->asMemberOf()->member, sp('D'));
}

TEST(SonosCommand, EveryPayloadFieldTakesPartInEqualityAndHash) {
    auto commands = everyCommand();
    const std::vector<SonosCommand> variants = {
        SonosCommand::group(sp('B'), group('C')),
        SonosCommand::group(sp('C'), group('A')),
        SonosCommand::applyPreset(evening.renamed("Night")),
        SonosCommand::setVolume(DiscreteVolume::snappingPercent(31), VolumeTarget::group(group('A'))),
        SonosCommand::setVolume(DiscreteVolume::snappingPercent(30), VolumeTarget::speaker(sp('A'))),
        SonosCommand::playPause(PlayPause::play, group('A')),
        SonosCommand::seekToQueueTrack(4, group('A')),
        SonosCommand::enqueueAndPlaySpotify(album, metadata, group('A')),
        SonosCommand::enqueueAndPlaySpotify(album, SpotifyTrackMetadata{"Song", "Band", std::nullopt, std::nullopt, std::nullopt},
                                            group('A'), Duration::seconds(std::int64_t{42})),
        SonosCommand::savePresets({}),
        SonosCommand::setSystemName("home"),
    };
    std::unordered_set<SonosCommand> set(commands.begin(), commands.end());
    for (const auto& command : everyCommand()) set.insert(command);
    EXPECT_EQ(set.size(), commands.size());
    for (const auto& variant : variants) {
        EXPECT_FALSE(set.contains(variant)) << variant.caseName();
        set.insert(variant);
    }
    EXPECT_EQ(set.size(), commands.size() + variants.size());
    // The same payload under another case is another command.
    EXPECT_NE(SonosCommand::nextTrack(group('A')), SonosCommand::previousTrack(group('A')));
}

TEST(CommandOutcome, CasesAndUnreachableSets) {
    EXPECT_NE(CommandOutcome::applied(), CommandOutcome::alreadySatisfied());
    EXPECT_EQ(CommandOutcome::partiallyApplied(speakers("AB")), CommandOutcome::partiallyApplied(speakers("BA")));
    EXPECT_NE(CommandOutcome::partiallyApplied(speakers("AB")), CommandOutcome::partiallyApplied(speakers("A")));
    EXPECT_NE(CommandOutcome::partiallyApplied({}), CommandOutcome::applied());
    std::unordered_set<CommandOutcome> set{CommandOutcome::applied(), CommandOutcome::alreadySatisfied(),
                                           CommandOutcome::partiallyApplied(speakers("AB")),
                                           CommandOutcome::partiallyApplied(speakers("BA")),
                                           CommandOutcome::partiallyApplied({})};
    EXPECT_EQ(set.size(), 4u);
    EXPECT_EQ(CommandOutcome::partiallyApplied(speakers("BA")).description(),
              "partiallyApplied(" + sp('A').rawValue() + ", " + sp('B').rawValue() + ")");
}

TEST(SonosCommandError, CaseOrderAndPayloads) {
    const SonosCommandError inOrder[] = {
        SonosCommandError::speakerUnreachable(sp('A')),
        SonosCommandError::groupDissolved(group('A')),
        SonosCommandError::notConverged(Duration::seconds(std::int64_t{8})),
        SonosCommandError::unsupportedForCurrentSource(),
        SonosCommandError::spotifyNotLinkedOnSonos(),
        SonosCommandError::speakerRejected("UPnP error 701"),
    };
    for (std::size_t i = 0; i < std::size(inOrder); ++i) EXPECT_EQ(inOrder[i].caseIndex(), i);

    std::unordered_set<SonosCommandError> set(std::begin(inOrder), std::end(inOrder));
    const SonosCommandError others[] = {
        SonosCommandError::speakerUnreachable(sp('B')),
        SonosCommandError::groupDissolved(group('B')),
        SonosCommandError::notConverged(Duration::milliseconds(8001)),
        SonosCommandError::speakerRejected("UPnP error 402"),
    };
    for (const auto& other : others) {
        EXPECT_FALSE(set.contains(other)) << other.description();
        set.insert(other);
    }
    EXPECT_EQ(set.size(), std::size(inOrder) + std::size(others));
    EXPECT_EQ(SonosCommandError::speakerRejected("x"), SonosCommandError::speakerRejected("x"));
    EXPECT_EQ(SonosCommandError::notConverged(Duration::seconds(std::int64_t{8})).description(),
              "notConverged(after: " + Duration::seconds(std::int64_t{8}).description() + ")");
}
