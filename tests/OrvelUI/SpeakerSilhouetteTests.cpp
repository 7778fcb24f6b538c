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

// At size 20 the clamped lengths win; at 100 the scaled ones do.
TEST(SpeakerSilhouette, SmallSizesKeepTheirFloors) {
    struct Case {
        Kind kind;
        double size;
        double detailWidth;
        double detailHeight;
    };
    const Case cases[] = {
        {Kind::arc, 20, 8.8, 1.5},           {Kind::arc, 100, 44, 4},
        {Kind::era300, 20, 4.4, 1.6},        {Kind::era300, 100, 22, 4.5},
        {Kind::one, 20, 3.6, 1.8},           {Kind::one, 100, 18, 5},
        {Kind::move, 20, 3.4, 2.0},          {Kind::move, 100, 17, 5.5},
        {Kind::symfoniskBookshelf, 20, 1.4, 9.2},
    };
    for (const Case& c : cases) {
        const auto parts = silhouetteParts(c.kind, c.size);
        ASSERT_EQ(parts.size(), 2u);
        EXPECT_NEAR(parts[1].frame.width(), c.detailWidth, 1e-9) << int(c.kind) << " at " << c.size;
        EXPECT_NEAR(parts[1].frame.height(), c.detailHeight, 1e-9) << int(c.kind) << " at " << c.size;
    }
    const auto frame = silhouetteParts(Kind::symfoniskFrame, 20);
    EXPECT_DOUBLE_EQ(frame[1].lineWidth, 1.2);
    const auto amp = silhouetteParts(Kind::amp, 20);
    EXPECT_DOUBLE_EQ(amp[1].lineWidth, 1.4);

    const auto slash = offlineSlashParts(20);
    ASSERT_EQ(slash.size(), 2u);
    EXPECT_EQ(slash[0].paint, Paint::cutOut);
    EXPECT_DOUBLE_EQ(slash[0].frame.height(), 2.5);
    EXPECT_DOUBLE_EQ(slash[1].frame.height(), 1.5);
    EXPECT_EQ(slash[0].frame.center(), slash[1].frame.center());
}

// A top-aligned detail starts its padding below the body's top edge.
TEST(SpeakerSilhouette, TopAlignedDetailsHangFromTheBodysTop) {
    const auto one = silhouetteParts(Kind::one, 100);
    EXPECT_NEAR(one[1].frame.top() - one[0].frame.top(), 6.5, 1e-9);
    const auto roam = silhouetteParts(Kind::roam, 100);
    EXPECT_NEAR(roam[1].frame.top() - roam[0].frame.top(), 7, 1e-9);
}

TEST(SpeakerSilhouette, TheLampShadeHasRounderTopCorners) {
    const auto lamp = silhouetteParts(Kind::symfoniskLamp, 100);
    ASSERT_EQ(lamp.size(), 2u);
    EXPECT_NEAR(lamp[0].radii.topLeft, 14, 1e-9);
    EXPECT_NEAR(lamp[0].radii.topRight, 14, 1e-9);
    EXPECT_NEAR(lamp[0].radii.bottomRight, 4, 1e-9);
    EXPECT_NEAR(lamp[0].radii.bottomLeft, 4, 1e-9);
    EXPECT_NEAR(lamp[1].frame.top() - lamp[0].frame.bottom(), 3, 1e-9);
    EXPECT_EQ(lamp[1].paint, Paint::tone);
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
