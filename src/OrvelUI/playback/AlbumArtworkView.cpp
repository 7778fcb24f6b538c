#include "OrvelUI/playback/AlbumArtworkView.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "OrvelUI/playback/ArtworkImageCache.h"
#include "OrvelUI/theme/PaintGeometry.h"
#include "OrvelUI/theme/Symbols.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

ArtworkPlaceholderGeometry ArtworkPlaceholderGeometry::forSize(double size) {
    const double diameter = size * 0.64;
    const double offset = (size - diameter) / 2;
    return {QRectF(offset, offset, diameter, diameter), std::max(size * 0.03, 1.0), size * 0.42};
}

QRectF aspectFillSourceRect(QSizeF imageSize, QSizeF target) {
    if (imageSize.isEmpty() || target.isEmpty()) return {};
    const double scale = std::max(target.width() / imageSize.width(), target.height() / imageSize.height());
    const QSizeF visible(target.width() / scale, target.height() / scale);
    return {QPointF((imageSize.width() - visible.width()) / 2, (imageSize.height() - visible.height()) / 2), visible};
}

AlbumArtworkView::AlbumArtworkView(QQuickItem* parent) : ThemedPaintedItem(parent) {
    setImplicitSize(size_, size_);
}

void AlbumArtworkView::setUrl(const QUrl& url) {
    if (url_ == url) return;
    url_ = url;
    emit urlChanged();
    startLoading();
}

void AlbumArtworkView::setSize(double size) {
    if (!assign(size_, size)) return;
    setImplicitSize(size, size);
    emit sizeChanged();
}

void AlbumArtworkView::setCornerRadius(double radius) {
    if (assign(cornerRadius_, radius)) emit cornerRadiusChanged();
}

void AlbumArtworkView::setCache(ArtworkImageCache* cache) {
    cache_ = cache;
    startLoading();
}

ArtworkImageCache& AlbumArtworkView::cache() const { return cache_ != nullptr ? *cache_ : ArtworkImageCache::shared(); }

std::optional<QImage> AlbumArtworkView::shownImage() const {
    if (loadedImage_) return loadedImage_;
    if (url_.isEmpty()) return std::nullopt;
    return cache().cached(url_);
}

void AlbumArtworkView::itemChange(ItemChange change, const ItemChangeData& value) {
    ThemedPaintedItem::itemChange(change, value);
    if (change != ItemVisibleHasChanged) return;
    // Shown again: load again (a failed load is not remembered); hidden: a running load no
    // longer counts.
    if (value.boolValue) {
        startLoading();
    } else {
        ++generation_;
    }
}

void AlbumArtworkView::startLoading() {
    const std::uint64_t generation = ++generation_;
    if (!isComponentComplete() || !isVisible()) return;
    if (url_.isEmpty()) {
        setLoadedImage(std::nullopt);
        return;
    }
    if (auto hit = cache().cached(url_)) {
        setLoadedImage(std::move(hit));
        return;
    }
    loadInto(QPointer<AlbumArtworkView>(this), &cache(), url_, generation);
}

QCoro::Task<> AlbumArtworkView::loadInto(QPointer<AlbumArtworkView> view, ArtworkImageCache* cache, QUrl url,
                                         std::uint64_t generation) {
    auto image = co_await cache->load(url, requestedPixelSize);
    if (view) view->finishLoading(generation, std::move(image));
}

void AlbumArtworkView::finishLoading(std::uint64_t generation, std::optional<QImage> image) {
    if (generation != generation_) return;
    setLoadedImage(std::move(image));
}

void AlbumArtworkView::setLoadedImage(std::optional<QImage> image) {
    const bool before = showsImage();
    const qint64 previousKey = loadedImage_ ? loadedImage_->cacheKey() : 0;
    loadedImage_ = std::move(image);
    if (before != showsImage() || previousKey != (loadedImage_ ? loadedImage_->cacheKey() : 0)) {
        update();
        emit shownImageChanged();
    }
}

void AlbumArtworkView::componentComplete() {
    ThemedPaintedItem::componentComplete();
    startLoading();
}

void AlbumArtworkView::paintContent(QPainter& painter) {
    if (size_ <= 0) return;
    const QRectF frame(boundingRect().center() - QPointF(size_, size_) / 2, QSizeF(size_, size_));
    const QPainterPath clip = roundedRectPath(frame, CornerRadii::uniform(cornerRadius_));

    painter.save();
    painter.setClipPath(clip);
    if (const auto image = shownImage()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(frame, *image, aspectFillSourceRect(image->size(), frame.size()));
    } else {
        paintPlaceholder(painter, frame);
    }
    painter.restore();

    constexpr double borderWidth = 1;
    painter.setPen(QPen(theme().cardBorder(), borderWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedRectPath(insetForStroke(frame, borderWidth),
                                     CornerRadii::uniform(radiusInsetForStroke(cornerRadius_, borderWidth))));
}

void AlbumArtworkView::paintPlaceholder(QPainter& painter, const QRectF& frame) const {
    const VavuzadiRudodTheme& colors = theme();
    QLinearGradient background(frame.topLeft(), frame.bottomRight());
    background.setColorAt(0, colors.cardElevatedFill());
    background.setColorAt(1, colors.obsidian());
    painter.fillRect(frame, background);

    const auto geometry = ArtworkPlaceholderGeometry::forSize(size_);
    QColor ring = colors.gold();
    ring.setAlphaF(ring.alphaF() * 0.24f);
    painter.setPen(QPen(ring, geometry.ringLineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(insetForStroke(geometry.ring.translated(frame.topLeft()), geometry.ringLineWidth));

    const QString glyph = Symbols::glyph(QStringLiteral("opticaldisc.fill"));
    if (glyph.isEmpty()) return;
    QFont font(Symbols::fontFamily());
    font.setPixelSize(std::max(1, int(std::lround(geometry.discPixelSize))));
    QPainterPath disc;
    disc.addText(0, 0, font, glyph);
    const QRectF bounds = disc.boundingRect();
    disc.translate(frame.center() - bounds.center());
    QColor from = colors.gold();
    from.setAlphaF(from.alphaF() * 0.85f);
    QColor to = colors.copper();
    to.setAlphaF(to.alphaF() * 0.55f);
    const QRectF placed = disc.boundingRect();
    QLinearGradient fill(placed.topLeft(), placed.bottomRight());
    fill.setColorAt(0, from);
    fill.setColorAt(1, to);
    painter.fillPath(disc, fill);
}

}  // namespace orvel
