#include "FloorplanNode.h"

#include "HashCombine.h"

std::size_t std::hash<orvel::FloorplanNode>::operator()(const orvel::FloorplanNode& node) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, node.speaker);
    orvel::hashCombine(seed, node.level);
    orvel::hashCombine(seed, node.coordinate);
    orvel::hashCombine(seed, node.placement);
    orvel::hashCombine(seed, node.group);
    return seed;
}
