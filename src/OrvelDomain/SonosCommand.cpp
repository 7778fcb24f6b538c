#include "SonosCommand.h"

#include <array>
#include <type_traits>

#include "HashCombine.h"

namespace orvel {

std::optional<TopologyTarget> SonosCommand::topologyTarget() const {
    using Target = std::optional<TopologyTarget>;
    return visit([](const Group& g) -> Target { return TopologyTarget::memberOf(g.intoCoordinator, g.member); },
                 [](const Ungroup& u) -> Target { return TopologyTarget::standalone(u.member); },
                 [](const ApplyPreset& p) -> Target { return p.preset.target(); },
                 // Volume, playback and household-value commands leave the grouping alone.
                 [](const auto&) -> Target { return std::nullopt; });
}

std::string_view SonosCommand::caseName() const {
    static constexpr std::array<std::string_view, 11> names = {
        "group",          "ungroup",         "applyPreset",           "setVolume",
        "playPause",      "nextTrack",       "previousTrack",         "seekToQueueTrack",
        "enqueueAndPlaySpotify", "savePresets", "setSystemName"};
    static_assert(names.size() == std::variant_size_v<Value>);
    return names[caseIndex()];
}

namespace {

struct PayloadHasher {
    std::size_t& seed;

    void operator()(const SonosCommand::Group& c) const {
        hashCombine(seed, c.member);
        hashCombine(seed, c.intoCoordinator);
    }
    void operator()(const SonosCommand::Ungroup& c) const { hashCombine(seed, c.member); }
    void operator()(const SonosCommand::ApplyPreset& c) const { hashCombine(seed, c.preset); }
    void operator()(const SonosCommand::SetVolume& c) const {
        hashCombine(seed, c.volume);
        hashCombine(seed, c.target);
    }
    void operator()(const SonosCommand::PlayPause& c) const {
        hashCombine(seed, static_cast<int>(c.action));
        hashCombine(seed, c.group);
    }
    void operator()(const SonosCommand::NextTrack& c) const { hashCombine(seed, c.group); }
    void operator()(const SonosCommand::PreviousTrack& c) const { hashCombine(seed, c.group); }
    void operator()(const SonosCommand::SeekToQueueTrack& c) const {
        hashCombine(seed, c.number);
        hashCombine(seed, c.group);
    }
    void operator()(const SonosCommand::EnqueueAndPlaySpotify& c) const {
        hashCombine(seed, c.uri);
        hashCombine(seed, c.metadata.title);
        hashCombine(seed, c.metadata.artist);
        hashCombine(seed, c.metadata.album);
        hashCombine(seed, c.metadata.artworkURL);
        hashCombine(seed, c.metadata.duration);
        hashCombine(seed, c.onCoordinator);
        hashCombine(seed, c.startingAt);
    }
    void operator()(const SonosCommand::SavePresets& c) const {
        hashCombine(seed, c.presets.size());
        for (const auto& preset : c.presets) hashCombine(seed, preset);
    }
    void operator()(const SonosCommand::SetSystemName& c) const { hashCombine(seed, c.name); }
};

}  // namespace

std::size_t SonosCommand::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    std::visit(PayloadHasher{seed}, value_);
    return seed;
}

}  // namespace orvel
