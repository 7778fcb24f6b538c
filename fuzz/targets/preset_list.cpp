// The preset list kept on the speakers (a system property any controller may have written).
// A save of what was read must read back the same: nothing is lost or moved by a save.

#include "FuzzInput.h"
#include "SonosProtocolBoundary/StoredPresetList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using orvel::StoredPresetList;
    const StoredPresetList read = StoredPresetList::read(orvel::fuzz::text(data, size));
    const StoredPresetList::Save save = read.saving(read.presets(), StoredPresetList::Missing::deleted);
    const StoredPresetList again = StoredPresetList::read(save.text);
    if (again.presets() != save.list.presets() || again.unreadable() != save.list.unreadable()) __builtin_trap();
    return 0;
}
