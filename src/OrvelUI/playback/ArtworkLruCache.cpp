#include "OrvelUI/playback/ArtworkLruCache.h"

#include <algorithm>
#include <utility>

namespace orvel {

ArtworkLruCache::ArtworkLruCache(qsizetype countLimit, qint64 costLimit)
    : countLimit_(std::max<qsizetype>(countLimit, 0)), costLimit_(std::max<qint64>(costLimit, 0)) {}

std::optional<QImage> ArtworkLruCache::find(const QUrl& url) {
    const auto it = index_.find(url);
    if (it == index_.end()) return std::nullopt;
    entries_.splice(entries_.begin(), entries_, it->second);
    return it->second->image;
}

void ArtworkLruCache::insert(const QUrl& url, QImage image, qint64 cost) {
    cost = std::max<qint64>(cost, 0);
    if (const auto it = index_.find(url); it != index_.end()) {
        totalCost_ -= it->second->cost;
        entries_.erase(it->second);
        index_.erase(it);
    }
    entries_.push_front(Entry{url, std::move(image), cost});
    index_.emplace(url, entries_.begin());
    totalCost_ += cost;
    evictOverLimits();
}

void ArtworkLruCache::evictOverLimits() {
    while (!entries_.empty() && (count() > countLimit_ || totalCost_ > costLimit_)) {
        const Entry& oldest = entries_.back();
        totalCost_ -= oldest.cost;
        index_.erase(oldest.url);
        entries_.pop_back();
    }
}

}  // namespace orvel
