#pragma once

// The running process's environment and argument list, read afresh on every call.

#include "OrvelUI/shell/LaunchView.h"

namespace orvel {

LaunchInputs currentLaunchInputs();

}  // namespace orvel
