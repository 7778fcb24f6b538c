#pragma once

// Wiping of secret bytes that leave scope: tokens, form bodies, client ids, key material.
// OPENSSL_cleanse cannot be optimised away the way a plain memset before free can.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QByteArray>

#include "OrvelDomain/Json.h"

namespace orvel::secret {

void wipe(void* data, std::size_t size);
void wipe(std::string& text);
void wipe(std::vector<std::uint8_t>& bytes);
// Wipes the bytes only when this object is their sole owner; a shared buffer is left to its
// other owners (wiping it through data() would only wipe a fresh copy).
void wipe(QByteArray& bytes);
// Wipes every string value in the document, however deep, and leaves them empty; keys are
// field names, never secrets.
void wipe(Json& document);

template <std::size_t N>
void wipe(std::array<std::uint8_t, N>& bytes) {
    wipe(bytes.data(), bytes.size());
}

// Wipes the referenced object when the scope ends, on every path out.
template <class T>
class WipeOnExit {
public:
    explicit WipeOnExit(T& target) : target_(target) {}
    ~WipeOnExit() { wipe(target_); }
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;

private:
    T& target_;
};

}  // namespace orvel::secret
