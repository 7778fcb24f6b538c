#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "OrvelDomain/SpeakerModel.h"
#include "OrvelUI/theme/SpeakerSilhouette.h"

using namespace orvel;
using Kind = SpeakerModel::Kind;
using Shape = SilhouettePart::Shape;
using Paint = SilhouettePart::Paint;

namespace {

constexpr int kindCount = int(Kind::unrecognized) + 1;

bool inside(const QRectF& inner, const QRectF& outer) {
    constexpr double slack = 1e-9;
    return inner.left() >= outer.left() - slack && inner.top() >= outer.top() - slack &&
           inner.right() <= outer.right() + slack && inner.bottom() <= outer.bottom() + slack;
}

}  // namespace

// Every model draws a tone body first, at most one cut-out detail kind after it, and stays in
// its square, at a roomy size and at the size where the floors take over.
TEST(SpeakerSilhouette, EveryModelDrawsABodyFirstInsideItsSquare) {
    for (double size : {20.0, 64.0}) {
        const QRectF square(0, 0, size, size);
        for (int k = 0; k < kindCount; ++k) {
            const auto parts = silhouetteParts(Kind(k), size);
            const std::string what = "kind " + std::to_string(k) + " at " + std::to_string(size);
            ASSERT_FALSE(parts.empty()) << what;
            EXPECT_EQ(parts.front().paint, Paint::tone) << what;
            for (const SilhouettePart& part : parts) {
                EXPECT_TRUE(inside(part.frame, square)) << what;
                EXPECT_TRUE(inside(part.fillPath().boundingRect(), part.frame)) << what;
            }
        }
    }
}

// The whole picture is centred in the square (the bookshelf's slot is the one detail set off).
TEST(SpeakerSilhouette, PicturesAreCentred) {
    for (int k = 0; k < kindCount; ++k) {
        QRectF all;
        for (const SilhouettePart& part : silhouetteParts(Kind(k), 50)) all = all.united(part.frame);
        EXPECT_NEAR(all.center().x(), 25, 1e-9) << "kind " << k;
        EXPECT_NEAR(all.center().y(), 25, 1e-9) << "kind " << k;
    }
    const auto bookshelf = silhouetteParts(Kind::symfoniskBookshelf, 100);
    EXPECT_NEAR(bookshelf[1].frame.center().x(), 50 - 4.5, 1e-9);
}

// A small picture keeps its details legible: at the size where the floors take over, a detail
// is larger than the roomy picture's scaled down; a top-aligned detail hangs below the body's
// top; the lamp's shade has the rounder top corners; the offline slash is a cut-out with its
// halo centred on it.
TEST(SpeakerSilhouette, SmallSizesKeepTheirFloorsAndDetailsTheirPlace) {
    for (Kind kind : {Kind::arc, Kind::era300, Kind::one, Kind::move, Kind::symfoniskBookshelf}) {
        const auto small = silhouetteParts(kind, 20);
        const auto roomy = silhouetteParts(kind, 100);
        ASSERT_EQ(small.size(), 2u) << int(kind);
        const QSizeF scaled = roomy[1].frame.size() * 0.2;
        EXPECT_TRUE(small[1].frame.width() > scaled.width() + 1e-9 || small[1].frame.height() > scaled.height() + 1e-9)
            << int(kind);
    }
    for (Kind kind : {Kind::symfoniskFrame, Kind::amp}) {
        EXPECT_GT(silhouetteParts(kind, 20)[1].lineWidth, silhouetteParts(kind, 100)[1].lineWidth * 0.2) << int(kind);
    }
    for (Kind kind : {Kind::one, Kind::roam}) {
        const auto parts = silhouetteParts(kind, 100);
        EXPECT_GT(parts[1].frame.top(), parts[0].frame.top()) << int(kind);
    }
    const auto lamp = silhouetteParts(Kind::symfoniskLamp, 100);
    ASSERT_EQ(lamp.size(), 2u);
    EXPECT_GT(lamp[0].radii.topLeft, lamp[0].radii.bottomLeft);
    EXPECT_GT(lamp[1].frame.top(), lamp[0].frame.bottom());

    const auto slash = offlineSlashParts(20);
    ASSERT_EQ(slash.size(), 2u);
    EXPECT_EQ(slash[0].paint, Paint::cutOut);
    EXPECT_GT(slash[0].frame.height(), slash[1].frame.height());
    EXPECT_EQ(slash[0].frame.center(), slash[1].frame.center());
}

TEST(SpeakerSilhouette, CaseNamesPickTheirModelAndAnythingElseIsUnrecognized) {
    const SpeakerModel models[] = {
        SpeakerModel::arc(), SpeakerModel::era300(), SpeakerModel::move(), SpeakerModel::subMini(),
        SpeakerModel::symfoniskBookshelf(), SpeakerModel::port(), SpeakerModel::unrecognized("X", "Y"),
    };
    for (const SpeakerModel& model : models) EXPECT_EQ(silhouetteKind(model.caseName()), model.kind());
    EXPECT_EQ(silhouetteKind("Arc"), Kind::unrecognized);
    EXPECT_EQ(silhouetteKind(""), Kind::unrecognized);
    EXPECT_EQ(silhouetteParts(Kind::unrecognized, 30), silhouetteParts(Kind::era100, 30));
}

TEST(SpeakerSilhouette, Era300OutlineFillsItsRectangleAndBowsInwards) {
    const QPainterPath path = Era300MinimalShape::path(QRectF(10, 20, 60, 44));
    const QRectF bounds = path.boundingRect();
    EXPECT_NEAR(bounds.left(), 10, 1e-6);
    EXPECT_NEAR(bounds.right(), 70, 1e-6);
    EXPECT_NEAR(bounds.top(), 20, 1e-6);
    EXPECT_NEAR(bounds.bottom(), 64, 1e-6);
    // The edges' middles lie inside the rectangle: the top dips, the sides bow in.
    EXPECT_FALSE(path.contains(QPointF(40, 20.5)));
    EXPECT_FALSE(path.contains(QPointF(10.5, 42)));
    EXPECT_TRUE(path.contains(QPointF(40, 42)));
}
