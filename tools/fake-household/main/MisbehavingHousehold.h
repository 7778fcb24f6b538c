#pragma once

// Households that misbehave the way real ones do, for trial runs and the benchmark of
// bench/misbehaving_households.sh: presets values that are many, large, oddly named or partly
// broken, room names that views find hard, a group paused from elsewhere at a known time, and
// a log of every request on standard error.

#include <chrono>
#include <optional>

#include <QString>
#include <QStringList>

namespace orvel::fakes {

class FakeHousehold;

enum class PresetTrouble {
    many,       // 1,000 presets
    large,      // a value of about 4 MB: 100 presets with names of 40,000 characters
    emoji,      // a few presets, one named with 20,000 emoji
    malformed,  // a few presets and, among them, one entry that does not read
    longNames,  // eight presets with ordinary names of 22 to 30 characters, as people name them
};

// "many", "large", "emoji", "malformed" or "long-names".
std::optional<PresetTrouble> presetTroubleNamed(const QString& name);

// The household's presets value (JSON text) of that kind over `speakerIds` (at least one).
QString troublesomePresets(PresetTrouble kind, const QStringList& speakerIds);

// The index-th of the room names views find hard, each of 200 code points, in turn: emoji of
// every kind (joiner sequences, skin tones, flags, keycaps), right-to-left text, letters under
// floods of combining marks, and all of these mixed.
QString hostileRoomName(int index);
// Its plain twin: 200 Latin letters and spaces, to tell what the hard characters cost.
QString plainRoomName(int index);

// Makes the group of `speaker` play its queue now and pauses it after `delay`, as another
// controller would; prints "paused <unix time in ms>" on standard error when it does.
void schedulePause(FakeHousehold& household, const QString& speaker, std::chrono::milliseconds delay);

// Prints one line per request on standard error: "request <speaker address> <target> <unix
// time in ms>", the target as in FakeRequest::target().
void logRequests(FakeHousehold& household);

}  // namespace orvel::fakes
