#pragma once

// The flat picture of a speaker's hardware model as a list of parts: bodies in the tone and at
// most one detail in the card colour, laid out in a size x size square. One painted item draws
// the list, so a row or a map node is one item whatever the model.

#include <optional>
#include <string_view>
#include <vector>

#include <QPainterPath>
#include <QRectF>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/SpeakerModel.h"
#include "OrvelUI/theme/PaintGeometry.h"
#include "OrvelUI/theme/ThemedPaintedItem.h"

namespace orvel {

struct SilhouettePart {
    enum class Shape { roundedRect, capsule, circle, era300, rectOutline, circleOutline };
    // The tone (gold or primary text) or the card colour that cuts details out of the body.
    enum class Paint { tone, cutOut };

    Shape shape = Shape::roundedRect;
    Paint paint = Paint::tone;
    QRectF frame;
    CornerRadii radii;
    // Outlines only; the stroke lies wholly inside `frame`.
    double lineWidth = 0;
    friend bool operator==(const SilhouettePart&, const SilhouettePart&) = default;

    QPainterPath fillPath() const;
};

struct Era300MinimalShape {
    static QPainterPath path(const QRectF& in);
};

// Body first, detail above it, in the frame (0, 0, size, size).
std::vector<SilhouettePart> silhouetteParts(SpeakerModel::Kind model, double size);
// The backing bar and the stripe of the offline slash, unrotated and centred in the square; the
// painter turns them by `offlineSlashDegrees` about the centre.
std::vector<SilhouettePart> offlineSlashParts(double size);
inline constexpr double offlineSlashDegrees = -42;
inline constexpr double offlineOpacity = 0.42;
// Primary text at this opacity when neither playing nor grouped.
inline constexpr double idleToneOpacity = 0.84;

// The model named by its JSON case name ("arc", "symfoniskFrame", ...); anything else is
// drawn as an unrecognized model.
SpeakerModel::Kind silhouetteKind(std::string_view caseName);

class SpeakerSilhouetteView : public ThemedPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString model READ model WRITE setModel NOTIFY silhouetteChanged)
    Q_PROPERTY(bool isOnline READ isOnline WRITE setIsOnline NOTIFY silhouetteChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying WRITE setIsPlaying NOTIFY silhouetteChanged)
    Q_PROPERTY(bool isGrouped READ isGrouped WRITE setIsGrouped NOTIFY silhouetteChanged)
    Q_PROPERTY(double size READ size WRITE setSize NOTIFY silhouetteChanged)

public:
    explicit SpeakerSilhouetteView(QQuickItem* parent = nullptr);

    QString model() const { return model_; }
    void setModel(const QString& model);
    bool isOnline() const { return isOnline_; }
    void setIsOnline(bool v);
    bool isPlaying() const { return isPlaying_; }
    void setIsPlaying(bool v) {
        if (assign(isPlaying_, v)) emit silhouetteChanged();
    }
    bool isGrouped() const { return isGrouped_; }
    void setIsGrouped(bool v) {
        if (assign(isGrouped_, v)) emit silhouetteChanged();
    }
    double size() const { return size_; }
    void setSize(double size);

signals:
    void silhouetteChanged();

protected:
    void paintContent(QPainter& painter) override;
    QByteArray sharedPictureKey() const override;

private:
    QString model_ = QStringLiteral("era100");
    SpeakerModel::Kind kind_ = SpeakerModel::Kind::era100;
    bool isOnline_ = true;
    bool isPlaying_ = false;
    bool isGrouped_ = false;
    double size_ = 28;
};

}  // namespace orvel
