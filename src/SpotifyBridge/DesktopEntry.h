#pragma once

// The desktop entry that makes the desktop start this program for "orvella:" URLs, which is how
// a sign-in callback leaves the browser. Installed packages ship it system-wide; a program run
// from a build folder or an unpacked archive writes its own copy for the current user at start,
// pointing at the executable that actually runs, and makes it the scheme's default handler.
//
// Registration never stops the start: it reports what it did and the caller carries on.

#include <functional>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvel {

class DesktopEntry {
public:
    static constexpr const char* fileName = "orvella.desktop";
    static constexpr const char* schemeMimeType = "x-scheme-handler/orvella";

    // What registration needs from the machine; forCurrentUser() fills it from the real one.
    struct Environment {
        // The user's "applications" folder ($XDG_DATA_HOME/applications).
        QString applicationsFolder;
        // Absolute path of the program that the entry starts.
        QString executablePath;
        // xdg-mime's path; empty when it is not installed.
        QString xdgMimeProgram;
        // Starts a program without waiting for it; an empty function starts nothing.
        std::function<void(const QString& program, const QStringList& arguments)> startDetached;
    };

    enum class Outcome { alreadyPresent, written, failed };

    static Environment forCurrentUser();

    // Writes the entry when the applications folder has none (an existing one, possibly the
    // user's own edit, is left alone), then makes it the default handler of the scheme.
    static Outcome registerIfMissing(const Environment& environment);

    // The entry's text for `executablePath`; none when the path cannot be written into an Exec
    // line (not absolute, or holding control characters).
    static std::optional<QByteArray> text(const QString& executablePath);

    // `argument` as one argument of an Exec line: quoted where the desktop entry format asks
    // for it, with its escapes, and with '%' doubled so it is not taken for a field code.
    static std::optional<QString> execArgument(const QString& argument);
};

}  // namespace orvel
