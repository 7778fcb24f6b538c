#pragma once

// The pictures that painted items share: identical items (the same speaker picture in many
// rows, the same card behind two panels) hold one picture between them instead of one each.
// A picture lives as long as some item's texture holds it; the next picture made lets go of the
// ones nobody holds any more. Painted items ask from the thread that renders their window, so
// every call is guarded.

#include <functional>
#include <mutex>
#include <unordered_map>

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QSizeF>

namespace orvel {

class SharedPictures {
public:
    // Everything a shared picture depends on: what the item draws (its own key), its size, its
    // pixels and the appearance.
    struct Key {
        QByteArray item;
        QSizeF size;
        QSize pixels;
        qreal devicePixelRatio = 1;
        bool dark = false;
        friend bool operator==(const Key&, const Key&) = default;
    };

    static SharedPictures& shared();

    // The picture for `key`, painted by `paint` only when no item holds one already.
    QImage picture(const Key& key, const std::function<QImage()>& paint);
    // Pictures kept now, held by some item or not yet let go.
    std::size_t size() const;

private:
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept {
            return qHashMulti(0, key.item, key.size.width(), key.size.height(), key.pixels.width(), key.pixels.height(),
                              key.devicePixelRatio, key.dark);
        }
    };
    void dropUnheld();

    mutable std::mutex mutex_;
    std::unordered_map<Key, QImage, KeyHash> pictures_;
};

}  // namespace orvel
