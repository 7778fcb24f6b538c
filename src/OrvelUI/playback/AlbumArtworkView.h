#pragma once

// The artwork tile: a square of `size` with rounded corners that shows the artwork at `url`,
// or a drawn disc while there is none. Images come from the artwork cache, always asked at 320
// pixels; the tile keeps its previous image while the next one loads, and a load that ends
// after the URL changed or the tile went away never replaces what it shows.

#include <cstdint>
#include <optional>

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include "OrvelUI/theme/ThemedPaintedItem.h"

namespace orvel {

class ArtworkImageCache;

// Where the placeholder's parts go in a tile of edge `size` placed at the origin.
struct ArtworkPlaceholderGeometry {
    QRectF ring;            // the circle's bounding square; its stroke lies inside it
    double ringLineWidth = 0;
    double discPixelSize = 0;  // the disc symbol's font size

    static ArtworkPlaceholderGeometry forSize(double size);
};

// The part of an image of `imageSize` that fills `target` when scaled to cover it with its
// aspect ratio kept: the overflow is cut evenly on both sides.
QRectF aspectFillSourceRect(QSizeF imageSize, QSizeF target);

class AlbumArtworkView : public ThemedPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl url READ url WRITE setUrl NOTIFY urlChanged)
    Q_PROPERTY(double size READ size WRITE setSize NOTIFY sizeChanged)
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)
    // Whether an image (rather than the placeholder) is drawn.
    Q_PROPERTY(bool showsImage READ showsImage NOTIFY shownImageChanged)

public:
    // The edge asked of the cache, whatever the tile's size or the display's scale.
    static constexpr int requestedPixelSize = 320;

    explicit AlbumArtworkView(QQuickItem* parent = nullptr);

    QUrl url() const { return url_; }
    void setUrl(const QUrl& url);
    double size() const { return size_; }
    void setSize(double size);
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);

    // Tests and previews give a cache of their own; the shared one otherwise.
    void setCache(ArtworkImageCache* cache);

    // The picture drawn now: the last loaded image, else the cache's image for `url`; absent
    // means the placeholder.
    std::optional<QImage> shownImage() const;
    bool showsImage() const { return shownImage().has_value(); }

signals:
    void urlChanged();
    void sizeChanged();
    void cornerRadiusChanged();
    void shownImageChanged();

protected:
    void paintContent(QPainter& painter) override;
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

private:
    static QCoro::Task<> loadInto(QPointer<AlbumArtworkView> view, ArtworkImageCache* cache, QUrl url,
                                  std::uint64_t generation);
    ArtworkImageCache& cache() const;
    // Runs when the tile is shown and whenever `url` changes; supersedes any running load.
    void startLoading();
    void finishLoading(std::uint64_t generation, std::optional<QImage> image);
    void setLoadedImage(std::optional<QImage> image);
    void paintPlaceholder(QPainter& painter, const QRectF& frame) const;

    QUrl url_;
    double size_ = 48;
    double cornerRadius_ = 8;
    std::optional<QImage> loadedImage_;
    ArtworkImageCache* cache_ = nullptr;
    // Bumped whenever a running load stops counting; a result of an older one is dropped.
    std::uint64_t generation_ = 0;
};

}  // namespace orvel
