#pragma once

// The application's whole state as one value: what is known of the household (every speaker
// seen, the last live snapshot, the radio matrix, presets, the household name), what the user
// decided (pinned map positions), what is pending (commands in flight, optimistic volumes), the
// one alert, and the three views derived from all that: the speaker list, the map nodes and the
// room clusters.
//
// Every operation that changes an input of the derived views recomputes them before it
// returns, so a state value is always consistent. Changes are copy, reduce, compare, assign:
// the store changes a copy and keeps it only when it differs, by this full equality, from the
// state it holds.

#include <cstdint>
#include <expected>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "CommandTicket.h"
#include "HouseholdConnection.h"
#include "LoadedFiles.h"
#include "OrvelAlert.h"
#include "OrvelDomain/CommandOutcome.h"
#include "OrvelDomain/Date.h"
#include "OrvelDomain/DiscreteVolume.h"
#include "OrvelDomain/FloorLevel.h"
#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/FloorplanRoomCluster.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/PresetID.h"
#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/RFPeerMatrix.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosCommandError.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/VolumeTarget.h"
#include "PersistedSlices.h"

namespace orvel {

class OrvelState {
public:
    // A command sent and not yet answered.
    struct InFlight {
        CommandTicket ticket;
        SonosCommand command;
        friend bool operator==(const InFlight&, const InFlight&) = default;
    };
    // A command the speakers carried out, still shown until the household reports on it: the
    // first snapshot observed after its answer, or `settleSeconds`, whichever comes first.
    // Without it the screen would fall back to the snapshot from before the command until the
    // next one came, and a second press would repeat what the first already did.
    struct Settling {
        InFlight command;
        Date answeredAt;
        friend bool operator==(const Settling&, const Settling&) = default;
    };
    static constexpr double settleSeconds = 5.0;
    // A volume the user just set, shown until the speakers report it or it expires.
    struct VolumeOverride {
        DiscreteVolume volume;
        Date expiresAt;
        friend bool operator==(const VolumeOverride&, const VolumeOverride&) = default;
    };
    // An automatic map layout computed away from the state (see needsFloorplanReinference).
    struct Layout {
        std::map<SpeakerUUID, RoomCoordinate> inferred;
        std::map<SpeakerUUID, FloorLevel> floors;
        friend bool operator==(const Layout&, const Layout&) = default;
    };
    // What the automatic layout is computed from.
    struct LayoutInputs {
        std::vector<Speaker> speakers;
        RFPeerMatrix rf;
        friend bool operator==(const LayoutInputs&, const LayoutInputs&) = default;
    };
    using CommandResult = std::expected<CommandOutcome, SonosCommandError>;

    // The first state: the cached speakers (offline, as the cache holds them), the pins, a first
    // automatic layout, and the alert for the first file that had to be set aside.
    OrvelState(const LoadedFiles& loaded, std::vector<PresetPill> initialPresets);

    // ---- What the views read ---------------------------------------------------------------
    const std::optional<HouseholdSnapshot>& live() const { return live_; }
    const std::vector<PresetPill>& presets() const { return presets_; }
    const std::optional<std::string>& networkName() const { return networkName_; }
    const std::map<SpeakerUUID, RoomCoordinate>& pins() const { return pins_; }
    const std::optional<OrvelAlert>& alert() const { return alert_; }
    // Every known and live speaker once, by room name (byte order), ties by identifier.
    const std::vector<Speaker>& speakers() const { return speakers_; }
    // One node per entry of speakers(), in the same order.
    const std::vector<FloorplanNode>& floorplan() const { return floorplan_; }
    const std::vector<FloorplanRoomCluster>& floorplanRoomClusters() const { return floorplanRoomClusters_; }

    // ---- What the store itself reads --------------------------------------------------------
    // Every speaker seen in this run, each in its offline form.
    const std::map<SpeakerUUID, Speaker>& known() const { return known_; }
    // The last non-empty radio matrix.
    const RFPeerMatrix& rf() const { return rf_; }
    // live() with every command in flight and every volume override shown on it.
    const std::optional<HouseholdSnapshot>& projected() const { return cachedProjected_; }
    const std::vector<InFlight>& inFlight() const { return inFlight_; }
    const std::vector<Settling>& settling() const { return settling_; }
    const std::map<VolumeTarget, VolumeOverride>& volumeOverrides() const { return volumeOverrides_; }
    std::int64_t nextTicket() const { return nextTicket_; }
    const std::map<SpeakerUUID, RoomCoordinate>& inferred() const { return inferred_; }
    const std::map<SpeakerUUID, FloorLevel>& floorMap() const { return cachedFloorMap_; }

    // ---- Snapshots, volume overrides, commands -----------------------------------------------

    // Folds one household snapshot in. `now` is the local wall time; overrides expire against
    // the later of it and the snapshot's observation time. Without a precomputed layout the
    // layout is inferred here when the speaker set, a room name or the matrix changed.
    void absorb(const HouseholdSnapshot& snapshot, std::optional<Layout> precomputedLayout, Date now);
    // What absorbing `snapshot` would infer the layout from, or nullopt when it would not
    // infer. A layout computed from the answer and handed to absorb gives the same state.
    std::optional<LayoutInputs> needsFloorplanReinference(const HouseholdSnapshot& snapshot) const;

    // Whether any override is held, expired or not.
    bool hasActiveVolumeOverrides() const { return !volumeOverrides_.empty(); }
    // Whether some override has expired at `at` (at its expiry time counts).
    bool hasExpiredVolumeOverrides(Date at) const;
    // Holds `volume` for `target` until `now` + `ttl` seconds, replacing an earlier one.
    void setOptimisticVolume(DiscreteVolume volume, const VolumeTarget& target, Date now, double ttl);

    // Records the command as in flight under the next ticket.
    CommandTicket begin(SonosCommand command);
    // Ends the ticket's command, answered at `now`: a failure or a partial outcome becomes the
    // alert and its projection goes; a plain success leaves the alert as it is and keeps its
    // projection while it settles. A ticket not in flight changes nothing.
    void finish(CommandTicket ticket, const CommandResult& result, Date now);
    // Whether absorbing a snapshot observed at `observedAt` at local time `now` ends a settling
    // command, and the local time at which the first one runs out by itself.
    bool endsSettling(Date observedAt, Date now) const;
    std::optional<Date> settlingRunsOutAt() const;
    // Ends the settling commands that have run out at `now`.
    void endSettling(Date now);

    // ---- Queries ----------------------------------------------------------------------------
    // The projected groups, empty before the first snapshot.
    const std::vector<SonosGroup>& groups() const;
    std::optional<GroupID> groupID(const SpeakerUUID& containing) const;
    // Every listed speaker plus its bonded satellites.
    std::int64_t totalSpeakerCount() const;
    // "1 speaker", "0 speakers", "5 speakers".
    std::string speakerCountSummary() const;
    // "<network name> · <count>" when the name is set and not empty, else the count alone.
    std::string networkAndSpeakerSummary() const;
    HouseholdConnection connection() const;
    // Whether the projected grouping shows the preset (a one-speaker preset: that speaker alone
    // and playing or paused).
    bool isActive(const PresetPill& preset) const;
    // The files' content: known speakers by identifier (but none whose model was never read),
    // the matrix, the name and the pins.
    PersistedSlices persisted() const;

    // ---- Reducers ---------------------------------------------------------------------------
    void pin(const SpeakerUUID& speaker, RoomCoordinate at);
    void unpin(const SpeakerUUID& speaker);
    // Names are trimmed of white space and line breaks; a blank one changes nothing (for
    // savePreset it falls back to the group's display name).
    void savePreset(const GroupID& from, std::optional<std::string_view> name);
    void createPreset(std::string_view name, const SpeakerUUID& coordinator, const std::set<SpeakerUUID>& members);
    void renamePreset(const PresetID& preset, std::string_view to);
    void updatePreset(const PresetID& preset, const SonosGroup& from);
    void deletePreset(const PresetID& preset);
    void renameSystem(std::string_view to);
    void report(OrvelAlert alert);
    void dismissAlert();

    friend bool operator==(const OrvelState&, const OrvelState&) = default;

private:
    // The inputs of the last room clustering: clusters are rebuilt only when these change.
    struct ClusterTopologyKey {
        struct Entry {
            SpeakerUUID id;
            std::string roomName;
            FloorLevel level;
            RoomCoordinate coordinate;
            Placement placement;
            friend bool operator==(const Entry&, const Entry&) = default;
        };
        std::vector<Entry> entries;
        RFPeerMatrix rf;
        friend bool operator==(const ClusterTopologyKey&, const ClusterTopologyKey&) = default;
    };

    // A speaker whose model the household could not read, with the model known before (and,
    // offline, the volume), when one was; the snapshot with every such speaker so.
    static Speaker withValuesKnownBefore(Speaker listed, const std::map<SpeakerUUID, Speaker>& known);
    static HouseholdSnapshot withValuesKnownBefore(HouseholdSnapshot snapshot, const std::map<SpeakerUUID, Speaker>& known);
    // `known` with the snapshot's speakers stored in their offline form.
    static std::map<SpeakerUUID, Speaker> knownAfter(std::map<SpeakerUUID, Speaker> known,
                                                     const HouseholdSnapshot& snapshot);
    // The matrix kept after a snapshot: an empty one never replaces a known one.
    // `known` without the speakers that one of its speakers holds as a bonded satellite, unless
    // `listed` names them as rooms: a speaker bonded into a room since it was last seen (or a
    // cache that lists every player) is no room of its own.
    static std::map<SpeakerUUID, Speaker> withoutBondedSatellites(std::map<SpeakerUUID, Speaker> known,
                                                                  const std::map<SpeakerUUID, Speaker>& listed);
    static const RFPeerMatrix& matrixAfter(const RFPeerMatrix& current, const HouseholdSnapshot& snapshot);
    // Whether the layout's inputs differ: the speaker set, a room name or the matrix.
    static bool layoutInputsDiffer(const std::map<SpeakerUUID, Speaker>& before, const RFPeerMatrix& rfBefore,
                                   const std::map<SpeakerUUID, Speaker>& after, const RFPeerMatrix& rfAfter);
    static std::vector<Speaker> values(const std::map<SpeakerUUID, Speaker>& speakers);
    static bool hasRunOut(const Settling& settled, Date now);
    // Whether a snapshot observed at `observedAt`, absorbed at `now`, ends the settling command.
    static bool endsWith(const Settling& settled, Date observedAt, Date now);

    void inferLayout();
    void recomputeDerivedState();
    std::vector<FloorplanNode> buildNodes() const;

    // Declaration order is the order of equality.
    std::map<SpeakerUUID, Speaker> known_;
    std::optional<HouseholdSnapshot> live_;
    RFPeerMatrix rf_;
    std::vector<PresetPill> presets_;
    std::optional<std::string> networkName_;
    std::map<SpeakerUUID, RoomCoordinate> pins_;
    std::optional<OrvelAlert> alert_;
    std::vector<InFlight> inFlight_;
    std::vector<Settling> settling_;
    std::map<VolumeTarget, VolumeOverride> volumeOverrides_;
    std::int64_t nextTicket_ = 0;
    std::map<SpeakerUUID, RoomCoordinate> inferred_;
    std::map<SpeakerUUID, FloorLevel> cachedFloorMap_;
    std::optional<HouseholdSnapshot> cachedProjected_;
    std::optional<ClusterTopologyKey> cachedClusterKey_;
    std::vector<Speaker> speakers_;
    std::vector<FloorplanNode> floorplan_;
    std::vector<FloorplanRoomCluster> floorplanRoomClusters_;
};

}  // namespace orvel
