#pragma once

// What the update dialog shows: nothing, a found update with its notes, the install under way,
// its outcome, or the outcome of a check the user asked for.

#include <QString>

namespace orvel {

struct UpdatePresentation {
    enum class Phase { hidden, available, installing, installed, upToDate, failed };
    Phase phase = Phase::hidden;
    QString version;
    QString notes;
    // The failure's description, or where the update went.
    QString message;

    friend bool operator==(const UpdatePresentation&, const UpdatePresentation&) = default;
};

}  // namespace orvel
