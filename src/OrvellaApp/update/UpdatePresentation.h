#pragma once

// What the update dialog shows: nothing, a found update with its notes, the install under way,
// its outcome, or the outcome of a check the user asked for, each with the sentence that
// explains it.

#include <QString>

#include "OrvellaApp/update/UpdateError.h"
#include "OrvellaApp/update/UpdateInstaller.h"

namespace orvel {

struct UpdatePresentation {
    enum class Phase { hidden, available, installing, installed, upToDate, failed };
    Phase phase = Phase::hidden;
    QString version;
    QString notes;
    QString message;

    static UpdatePresentation available(const QString& version, const QString& notes, const QString& running);
    static UpdatePresentation installing(const QString& version);
    static UpdatePresentation installed(const QString& version, const UpdateInstallOutcome& outcome);
    static UpdatePresentation upToDate(const QString& running);
    static UpdatePresentation failed(const QString& version, const UpdateError& error);

    friend bool operator==(const UpdatePresentation&, const UpdatePresentation&) = default;
};

}  // namespace orvel
