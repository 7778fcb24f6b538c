#include "MapGroupSignature.h"

namespace orvel {

std::string mapGroupSignature(const std::vector<SonosGroup>& groups) {
    std::string signature;
    for (const SonosGroup& group : groups) {
        if (!signature.empty()) signature += '|';
        signature += group.id.description();
        signature += ':';
        bool first = true;
        for (const Speaker& speaker : group.speakers()) {
            if (!first) signature += ',';
            signature += speaker.id.rawValue();
            first = false;
        }
    }
    return signature;
}

}  // namespace orvel
