#include "Secret.h"

#include <openssl/crypto.h>

namespace orvel::secret {

void wipe(void* data, std::size_t size) {
    if (data != nullptr && size > 0) OPENSSL_cleanse(data, size);
}

void wipe(std::string& text) {
    // The whole capacity, so bytes left behind by an earlier, longer value go too.
    wipe(text.data(), text.capacity());
    text.clear();
}

void wipe(std::vector<std::uint8_t>& bytes) {
    wipe(bytes.data(), bytes.capacity());
    bytes.clear();
}

void wipe(QByteArray& bytes) {
    if (bytes.isDetached()) wipe(bytes.data(), static_cast<std::size_t>(bytes.size()));
    bytes.clear();
}

void wipe(Json& document) {
    if (document.is_string()) {
        wipe(document.get_ref<std::string&>());
    } else if (document.is_object()) {
        for (auto& [key, value] : document.items()) wipe(value);
    } else if (document.is_array()) {
        for (auto& value : document) wipe(value);
    }
}

}  // namespace orvel::secret
