#pragma once

// The bounded memory behind the artwork cache: decoded images by URL, limited both by a count
// and by a total of recorded costs. Whenever either limit is passed, the least recently used
// entries go first; an entry whose cost alone passes the cost limit is not kept at all.

#include <list>
#include <map>
#include <optional>

#include <QImage>
#include <QUrl>
#include <QtGlobal>

namespace orvel {

class ArtworkLruCache {
public:
    ArtworkLruCache(qsizetype countLimit, qint64 costLimit);

    // The image under `url`, which becomes the most recently used; absent when not held.
    std::optional<QImage> find(const QUrl& url);
    // Stores (or replaces) the entry as the most recently used, then evicts down to the limits.
    void insert(const QUrl& url, QImage image, qint64 cost);

    bool contains(const QUrl& url) const { return index_.contains(url); }
    qsizetype count() const { return qsizetype(index_.size()); }
    qint64 totalCost() const { return totalCost_; }

private:
    struct Entry {
        QUrl url;
        QImage image;
        qint64 cost = 0;
    };
    void evictOverLimits();

    qsizetype countLimit_;
    qint64 costLimit_;
    qint64 totalCost_ = 0;
    std::list<Entry> entries_;  // most recently used first
    std::map<QUrl, std::list<Entry>::iterator> index_;
};

}  // namespace orvel
