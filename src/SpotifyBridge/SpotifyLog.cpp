#include "SpotifyLog.h"

Q_LOGGING_CATEGORY(lcSpotify, "Orvella.Spotify", QtWarningMsg)
