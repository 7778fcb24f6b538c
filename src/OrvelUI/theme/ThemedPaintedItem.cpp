#include "OrvelUI/theme/ThemedPaintedItem.h"

#include <cmath>

#include <QImage>
#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>

#include "OrvelUI/theme/SharedPictures.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

ThemedPaintedItem::ThemedPaintedItem(QQuickItem* parent) : QQuickItem(parent) {
    setFlag(ItemHasContents, true);
    setAntialiasing(true);
    connect(VavuzadiRudodTheme::shared(), &VavuzadiRudodTheme::appearanceChanged, this, [this] { update(); });
}

void ThemedPaintedItem::paint(QPainter* painter) {
    painter->setRenderHint(QPainter::Antialiasing, true);
    paintContent(*painter);
}

QSGNode* ThemedPaintedItem::updatePaintNode(QSGNode* old, UpdatePaintNodeData*) {
    QQuickWindow* shown = window();
    const qreal ratio = shown != nullptr ? shown->effectiveDevicePixelRatio() : 1.0;
    // Whole device pixels covering the item, as a painted item would allocate them.
    const QSize pixels(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio)));
    // A hidden item holds no picture; it paints when it shows.
    if (shown == nullptr || pixels.isEmpty() || !isVisible()) {
        delete old;
        return nullptr;
    }
    const QByteArray key = sharedPictureKey();
    const QImage image = key.isEmpty() ? paintPicture(pixels, ratio)
                                       : SharedPictures::shared().picture({key, size(), pixels, ratio, isDark()},
                                                                          [&] { return paintPicture(pixels, ratio); });
    auto* node = static_cast<QSGImageNode*>(old);
    if (node == nullptr) {
        node = shown->createImageNode();
        node->setOwnsTexture(true);
    }
    // On the software renderer the texture refers to the picture's pixels: a shared picture stays
    // while some texture holds it.
    QSGTexture* texture = shown->createTextureFromImage(
        image, opaquePicture() ? QQuickWindow::CreateTextureOptions() : QQuickWindow::TextureHasAlphaChannel);
    node->setTexture(texture);
    node->setSourceRect(QRectF(QPointF(0, 0), texture->textureSize()));
    node->setRect(QRectF(0, 0, pixels.width() / ratio, pixels.height() / ratio));
    node->setFiltering(smooth() ? QSGTexture::Linear : QSGTexture::Nearest);
    return node;
}

QImage ThemedPaintedItem::paintPicture(QSize pixels, qreal ratio) {
    QImage image(pixels, opaquePicture() ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(&painter);
    return image;
}

void ThemedPaintedItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) update();
}

void ThemedPaintedItem::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickItem::itemChange(change, value);
    if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange || change == ItemVisibleHasChanged) update();
}

bool ThemedPaintedItem::isDark() const { return theme().isDark(); }

const VavuzadiRudodTheme& ThemedPaintedItem::theme() const { return *VavuzadiRudodTheme::shared(); }

}  // namespace orvel
