#include "OrvelUI/theme/SpeakerSilhouette.h"

#include <algorithm>
#include <array>

#include <QPainter>

#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

namespace {

using Shape = SilhouettePart::Shape;
using Paint = SilhouettePart::Paint;
using Kind = SpeakerModel::Kind;

QRectF centred(double size, double width, double height, QPointF offset = {}) {
    return {(size - width) / 2 + offset.x(), (size - height) / 2 + offset.y(), width, height};
}

SilhouettePart part(Shape shape, Paint paint, QRectF frame, double radius = 0, double lineWidth = 0) {
    if (shape == Shape::capsule || shape == Shape::circle || shape == Shape::circleOutline) {
        radius = std::min(frame.width(), frame.height()) / 2;
    }
    return {shape, paint, frame, CornerRadii::uniform(radius), lineWidth};
}

// A body with a detail whose top edge lies `topPadding` below the body's, the pair centred.
std::vector<SilhouettePart> topAligned(double s, double bodyW, double bodyH, double bodyRadius, double detailW,
                                       double detailH, double topPadding) {
    const double stackH = std::max(bodyH, topPadding + detailH);
    const double top = (s - stackH) / 2;
    return {part(Shape::roundedRect, Paint::tone, {(s - bodyW) / 2, top, bodyW, bodyH}, bodyRadius),
            part(Shape::capsule, Paint::cutOut, {(s - detailW) / 2, top + topPadding, detailW, detailH})};
}

}  // namespace

QPainterPath SilhouettePart::fillPath() const {
    switch (shape) {
        case Shape::era300: return Era300MinimalShape::path(frame);
        case Shape::rectOutline:
        case Shape::circleOutline: {
            const QRectF line = insetForStroke(frame, lineWidth);
            const double inset = lineWidth / 2;
            return roundedRectPath(line, {std::max(0.0, radii.topLeft - inset), std::max(0.0, radii.topRight - inset),
                                          std::max(0.0, radii.bottomRight - inset),
                                          std::max(0.0, radii.bottomLeft - inset)});
        }
        default: return roundedRectPath(frame, radii);
    }
}

QPainterPath Era300MinimalShape::path(const QRectF& in) {
    const double w = in.width();
    const double h = in.height();
    const QPointF o = in.topLeft();
    auto p = [o](double x, double y) { return o + QPointF(x, y); };
    QPainterPath path;
    path.moveTo(p(0.16 * w, 0));
    path.quadTo(p(0.5 * w, 0.09 * h), p(0.84 * w, 0));
    path.quadTo(p(w, 0), p(w, 0.22 * h));
    path.quadTo(p(w - 0.1 * w, 0.5 * h), p(w, 0.78 * h));
    path.quadTo(p(w, h), p(0.84 * w, h));
    path.quadTo(p(0.5 * w, h - 0.09 * h), p(0.16 * w, h));
    path.quadTo(p(0, h), p(0, 0.78 * h));
    path.quadTo(p(0.1 * w, 0.5 * h), p(0, 0.22 * h));
    path.quadTo(p(0, 0), p(0.16 * w, 0));
    path.closeSubpath();
    return path;
}

std::vector<SilhouettePart> silhouetteParts(Kind model, double s) {
    switch (model) {
        case Kind::arc:
        case Kind::beam:
        case Kind::ray:
        case Kind::playbar:
        case Kind::playbase:
            return {part(Shape::capsule, Paint::tone, centred(s, 0.86 * s, 0.19 * s)),
                    part(Shape::capsule, Paint::cutOut, centred(s, 0.44 * s, std::max(0.04 * s, 1.5)))};
        case Kind::era300:
            return {part(Shape::era300, Paint::tone, centred(s, 0.60 * s, 0.44 * s)),
                    part(Shape::capsule, Paint::cutOut, centred(s, 0.22 * s, std::max(0.045 * s, 1.6)))};
        case Kind::symfoniskBookshelf:
            return {part(Shape::roundedRect, Paint::tone, centred(s, 0.27 * s, 0.62 * s), 0.05 * s),
                    part(Shape::capsule, Paint::cutOut, centred(s, std::max(0.032 * s, 1.4), 0.46 * s, {-0.045 * s, 0}))};
        case Kind::five:
        case Kind::play3: {
            std::vector<SilhouettePart> parts{
                part(Shape::roundedRect, Paint::tone, centred(s, 0.66 * s, 0.40 * s), 0.12 * s)};
            const std::array<double, 3> diameters{0.075 * s, 0.095 * s, 0.075 * s};
            const double gap = 0.05 * s;
            double x = (s - (diameters[0] + diameters[1] + diameters[2] + 2 * gap)) / 2;
            for (double d : diameters) {
                parts.push_back(part(Shape::circle, Paint::cutOut, {x, (s - d) / 2, d, d}));
                x += d + gap;
            }
            return parts;
        }
        case Kind::move:
        case Kind::roam: return topAligned(s, 0.40 * s, 0.60 * s, 0.17 * s, 0.17 * s, std::max(0.055 * s, 2.0), 0.07 * s);
        case Kind::sub:
        case Kind::subMini:
            return {part(Shape::roundedRect, Paint::tone, centred(s, 0.52 * s, 0.54 * s), 0.15 * s),
                    part(Shape::roundedRect, Paint::cutOut, centred(s, 0.15 * s, 0.30 * s), 0.05 * s)};
        case Kind::symfoniskLamp: {
            const double shadeH = 0.26 * s, baseH = 0.26 * s, gap = 0.03 * s;
            const double top = (s - (shadeH + gap + baseH)) / 2;
            const double shadeW = 0.44 * s, baseW = 0.28 * s;
            SilhouettePart shade{Shape::roundedRect, Paint::tone, {(s - shadeW) / 2, top, shadeW, shadeH},
                                 {0.14 * s, 0.14 * s, 0.04 * s, 0.04 * s}, 0};
            return {shade, part(Shape::roundedRect, Paint::tone, {(s - baseW) / 2, top + shadeH + gap, baseW, baseH}, 0.08 * s)};
        }
        case Kind::symfoniskFrame:
            return {part(Shape::roundedRect, Paint::tone, centred(s, 0.46 * s, 0.56 * s), 0.08 * s),
                    part(Shape::rectOutline, Paint::cutOut, centred(s, 0.32 * s, 0.42 * s), 0.04 * s,
                         std::max(0.045 * s, 1.2))};
        case Kind::amp:
        case Kind::port:
            return {part(Shape::roundedRect, Paint::tone, centred(s, 0.50 * s, 0.28 * s), 0.09 * s),
                    part(Shape::circleOutline, Paint::cutOut, centred(s, 0.09 * s, 0.09 * s), 0,
                         std::max(0.035 * s, 1.4))};
        case Kind::era100:
        case Kind::one:
        case Kind::play1:
        case Kind::unrecognized: break;
    }
    return topAligned(s, 0.38 * s, 0.54 * s, 0.15 * s, 0.18 * s, std::max(0.05 * s, 1.8), 0.065 * s);
}

std::vector<SilhouettePart> offlineSlashParts(double s) {
    return {part(Shape::capsule, Paint::cutOut, centred(s, 0.72 * s, std::max(0.09 * s, 2.5))),
            part(Shape::capsule, Paint::tone, centred(s, 0.68 * s, std::max(0.045 * s, 1.5)))};
}

SpeakerModel::Kind silhouetteKind(std::string_view caseName) {
    static constexpr std::array<std::string_view, 21> names{
        "arc", "beam", "ray", "playbar", "playbase", "era100", "era300", "one", "five", "play1", "play3",
        "move", "roam", "sub", "subMini", "symfoniskBookshelf", "symfoniskLamp", "symfoniskFrame", "amp", "port",
        "unrecognized"};
    const auto found = std::find(names.begin(), names.end(), caseName);
    return found == names.end() ? Kind::unrecognized : static_cast<Kind>(found - names.begin());
}

SpeakerSilhouetteView::SpeakerSilhouetteView(QQuickItem* parent) : ThemedPaintedItem(parent) {
    setImplicitSize(size_, size_);
}

void SpeakerSilhouetteView::setModel(const QString& model) {
    if (assign(model_, model)) {
        kind_ = silhouetteKind(model.toStdString());
        emit silhouetteChanged();
    }
}

void SpeakerSilhouetteView::setIsOnline(bool v) {
    if (assign(isOnline_, v)) {
        setOpacity(v ? 1.0 : offlineOpacity);
        emit silhouetteChanged();
    }
}

void SpeakerSilhouetteView::setSize(double size) {
    if (assign(size_, size)) {
        setImplicitSize(size, size);
        emit silhouetteChanged();
    }
}

QByteArray SpeakerSilhouetteView::sharedPictureKey() const {
    return "silhouette " + model_.toUtf8() + ' ' + QByteArray::number(isOnline_) + QByteArray::number(isPlaying_) +
           QByteArray::number(isGrouped_) + ' ' + QByteArray::number(size_);
}

void SpeakerSilhouetteView::paintContent(QPainter& painter) {
    QColor tone = (isPlaying_ || isGrouped_) ? theme().gold() : theme().primaryText();
    if (!isPlaying_ && !isGrouped_) tone.setAlphaF(float(tone.alphaF() * idleToneOpacity));
    const QColor cutOut = theme().cardFill();
    // The square is centred in the item, so a larger item still shows a size x size picture.
    painter.translate(boundingRect().center() - QPointF(size_, size_) / 2);

    auto draw = [&](const SilhouettePart& p) {
        const QColor colour = p.paint == Paint::tone ? tone : cutOut;
        if (p.shape == Shape::rectOutline || p.shape == Shape::circleOutline) {
            QPen pen(colour, p.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
            pen.setMiterLimit(10);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(p.fillPath());
        } else {
            painter.fillPath(p.fillPath(), colour);
        }
    };
    for (const SilhouettePart& p : silhouetteParts(kind_, size_)) draw(p);
    if (!isOnline_) {
        const QPointF centre(size_ / 2, size_ / 2);
        painter.translate(centre);
        painter.rotate(offlineSlashDegrees);
        painter.translate(-centre);
        for (const SilhouettePart& p : offlineSlashParts(size_)) draw(p);
    }
}

}  // namespace orvel
