#pragma once

// The drawn logo: a wave-edged golden silhouette with a glaze over its top, optionally on a
// rounded tile. Its colours are its own, chosen by the appearance.

#include <QtQml/qqmlregistration.h>

#include "OrvelUI/theme/ThemedPaintedItem.h"

namespace orvel {

class OrvelBrandEmblem : public ThemedPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double size READ size WRITE setSize NOTIFY emblemChanged)
    Q_PROPERTY(bool showContainer READ showContainer WRITE setShowContainer NOTIFY emblemChanged)

public:
    explicit OrvelBrandEmblem(QQuickItem* parent = nullptr);

    double size() const { return size_; }
    void setSize(double size);
    bool showContainer() const { return showContainer_; }
    void setShowContainer(bool show) {
        if (assign(showContainer_, show)) emit emblemChanged();
    }

    static double tileCornerRadius(double size) { return size * 0.226; }
    static double tileBorderWidth(double size);

signals:
    void emblemChanged();

protected:
    void paintContent(QPainter& painter) override;
    QByteArray sharedPictureKey() const override {
        return "emblem " + QByteArray::number(size_) + ' ' + QByteArray::number(showContainer_);
    }

private:
    double size_ = 32;
    bool showContainer_ = true;
};

}  // namespace orvel
