#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include <QImage>

#include "OrvelUI/theme/SharedPictures.h"

using namespace orvel;

namespace {

SharedPictures::Key key(const char* item, bool dark = false, QSize pixels = {20, 20}) {
    return {item, QSizeF(pixels), pixels, 1.0, dark};
}

}  // namespace

// A picture is painted once for every item that asks for it while some item holds it; one that
// no item holds any more is let go and painted again when asked for.
TEST(SharedPictures, EqualKeysShareOnePictureWhileItIsHeld) {
    struct Ask {
        SharedPictures::Key key;
        bool keep;  // the asking item holds the picture (as its texture does)
    };
    struct Case {
        const char* name;
        std::vector<Ask> asks;
        int paints;
    };
    const Case cases[] = {
        {"the same picture twice", {{key("a"), true}, {key("a"), true}}, 1},
        {"another appearance", {{key("a"), true}, {key("a", true), true}}, 2},
        {"another size", {{key("a"), true}, {key("a", false, {21, 20}), true}}, 2},
        {"another item key", {{key("a"), true}, {key("b"), true}}, 2},
        // Nobody holds the first: the second asking paints anew (the third lets the first go).
        {"let go in between", {{key("a"), false}, {key("b"), true}, {key("a"), true}}, 3},
    };
    for (const Case& c : cases) {
        SharedPictures pictures;
        int paints = 0;
        std::vector<QImage> held;
        for (const Ask& ask : c.asks) {
            QImage picture = pictures.picture(ask.key, [&] {
                ++paints;
                QImage image(ask.key.pixels, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::red);
                return image;
            });
            if (ask.keep) held.push_back(std::move(picture));
        }
        EXPECT_EQ(paints, c.paints) << c.name;
    }
}

// Pictures no item holds are let go as new ones come: the cache does not grow with what was
// once shown.
TEST(SharedPictures, PicturesNobodyHoldsAreLetGo) {
    SharedPictures pictures;
    const auto paint = [] { return QImage(QSize(4, 4), QImage::Format_ARGB32_Premultiplied); };
    for (int i = 0; i < 50; ++i) {
        const QByteArray item = QByteArray::number(i);
        (void)pictures.picture({item, QSizeF(4, 4), QSize(4, 4), 1.0, false}, paint);
    }
    EXPECT_EQ(pictures.size(), 1u);
}
