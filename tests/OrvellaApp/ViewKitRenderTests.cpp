// The view kit drawn for real on the offscreen platform: the icon font has every glyph the
// symbol table names, and the gallery of every surface paints in both appearances.
#include <gtest/gtest.h>

#include <set>

#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QRawFont>
#include <QtQml/qqmlextensionplugin.h>

#include "OrvelUI/theme/SpeakerSilhouette.h"
#include "OrvelUI/theme/SymbolTable.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"
#include "common/WaitFor.h"

Q_IMPORT_QML_PLUGIN(Orvella_UIPlugin)

using namespace orvel;

TEST(ViewKit, TheIconFontHasEveryGlyphOfTheSymbolTable) {
    const QRawFont font(QString::fromUtf8(SymbolTable::fontFile.data(), qsizetype(SymbolTable::fontFile.size())), 16);
    ASSERT_TRUE(font.isValid()) << "the Material Icons font is not installed";
    EXPECT_EQ(font.familyName(), QString::fromUtf8(SymbolTable::fontFamily.data()));
    for (const SymbolGlyph& glyph : SymbolTable::all()) {
        EXPECT_TRUE(font.supportsCharacter(uint(glyph.codePoint))) << glyph.name;
    }
}

TEST(ViewKit, TheGalleryPaintsInBothAppearances) {
    VavuzadiRudodTheme* theme = VavuzadiRudodTheme::shared();
    const std::optional<ColorScheme> before = theme->forcedScheme();
    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/Orvella/UI/KitGallery.qml")));
    ASSERT_FALSE(engine.rootObjects().isEmpty());
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().constFirst());
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(waitUntil([window] { return window->isExposed(); }));

    std::map<ColorScheme, QImage> pictures;
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        theme->setForcedScheme(scheme);
        const QImage picture = window->grabWindow();
        ASSERT_FALSE(picture.isNull());
        // A blank or single-colour page has a handful of colours; the gallery has hundreds.
        std::set<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 3) {
            for (int x = 0; x < picture.width(); x += 3) colours.insert(picture.pixel(x, y));
        }
        EXPECT_GT(colours.size(), 200u) << (scheme == ColorScheme::dark ? "dark" : "light");
        pictures[scheme] = picture;
    }
    EXPECT_NE(pictures[ColorScheme::light], pictures[ColorScheme::dark]);
    theme->setForcedScheme(before);
}

// A silhouette takes exactly its size in a layout, and an offline one is dimmed as a whole.
TEST(ViewKit, SilhouettesTakeTheirSizeAndDimWhenOffline) {
    SpeakerSilhouetteView view;
    for (double size : {20.0, 44.0}) {
        view.setSize(size);
        EXPECT_EQ(view.implicitWidth(), size);
        EXPECT_EQ(view.implicitHeight(), size);
    }
    view.setIsOnline(false);
    EXPECT_DOUBLE_EQ(view.opacity(), offlineOpacity);
    view.setIsOnline(true);
    EXPECT_DOUBLE_EQ(view.opacity(), 1.0);
}
