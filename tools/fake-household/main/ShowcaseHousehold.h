#pragma once

// A household worth looking at, for trial runs and review pictures: a home theatre with two
// rears and a sub playing the television's sound, a stereo pair, a speaker on battery and one on its charger, a group of three
// playing a queue, a paused room, a radio stream and a speaker that drops off the network after
// it has been found. Tests keep their own small households.

#include <QHostAddress>

namespace orvel::fakes {

class FakeHousehold;

// Adds the showcase's speakers from `first` on and sets their content; call before start().
// The number of addresses it takes.
int seedShowcase(FakeHousehold& household, const QHostAddress& first);

// Renames rooms of the showcase as some households name them: a long name and one of 200
// characters, a right-to-left one, one buried under combining marks, one of spaces only and an
// empty one. Call after seedShowcase, before start().
void renameShowcaseRoomsHostile(FakeHousehold& household);

// Once started: the speaker meant to go offline stops answering a few seconds after its first
// request, so the application has seen it online first.
void scheduleShowcaseDropout(FakeHousehold& household, const QHostAddress& first);

}  // namespace orvel::fakes
