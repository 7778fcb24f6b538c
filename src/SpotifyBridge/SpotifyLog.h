#pragma once

// The readers of the music service's replies mend what would cost a whole reply (a lone
// surrogate escape, a number beyond a double) and read the rest; each reply mended is named by
// one line in this category, which is silent unless enabled ("Orvella.Spotify.debug=true" in
// QT_LOGGING_RULES).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSpotify)
