#pragma once

// The readers of speaker replies set aside what they cannot read (one member, one field, one
// character) and read the rest; each such value is named by one line in this category, which
// is silent unless enabled ("Orvella.Protocol.debug=true" in QT_LOGGING_RULES).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcProtocol)
