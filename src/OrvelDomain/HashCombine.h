#pragma once

// Folds the hash of one more field into a running seed, so record hashes cover every field in
// order and agree with field-wise equality.

#include <cstddef>
#include <functional>
#include <optional>

namespace orvel {

template <class T>
void hashCombine(std::size_t& seed, const T& value) {
    seed ^= std::hash<T>{}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

// An absent value hashes apart from every present one.
template <class T>
void hashCombine(std::size_t& seed, const std::optional<T>& value) {
    hashCombine(seed, value.has_value());
    if (value) hashCombine(seed, *value);
}

}  // namespace orvel
