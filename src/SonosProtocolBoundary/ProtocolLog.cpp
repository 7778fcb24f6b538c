#include "ProtocolLog.h"

Q_LOGGING_CATEGORY(lcProtocol, "Orvella.Protocol", QtWarningMsg)
