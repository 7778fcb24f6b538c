#pragma once

// Folds the hash of a value into a running seed, so records and variants can hash their fields
// in order (boost's mixing constant; order-sensitive on purpose).

#include <cstddef>
#include <functional>

namespace orvel {

template <class T>
void hashCombine(std::size_t& seed, const T& value) {
    seed ^= std::hash<T>{}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace orvel
