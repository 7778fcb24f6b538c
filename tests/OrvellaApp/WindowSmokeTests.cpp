// Loads the real interface offscreen, as the application does, and looks at what it draws.
#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>

#include <QFile>
#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QWindow>

#include "OrvelUI/OrvelRootView.h"
#include "OrvelUI/VavuzadiRudodTheme.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvellaApp/OrvellaApp.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

constexpr int patience = 10000;  // ms; every wait below ends as soon as its condition holds

OrvellaApp::LaunchSource fixed(LaunchInputs inputs) {
    return [inputs] { return inputs; };
}

// Delegates hang in the visual tree, not always among an item's object children.
void collectNamed(QQuickItem* item, const QString& name, QList<QQuickItem*>& found) {
    if (!item->isVisible()) return;
    if (item->objectName() == name) found << item;
    for (QQuickItem* child : item->childItems()) collectNamed(child, name, found);
}

QList<QQuickItem*> itemsNamed(QQuickWindow* window, const QString& name) {
    QList<QQuickItem*> found;
    collectNamed(window->contentItem(), name, found);
    return found;
}

// A picture that is not one flat colour: many colours, and a good share of pixels away from
// the background.
void expectDrawn(const QImage& image, QRgb background) {
    ASSERT_FALSE(image.isNull());
    std::set<QRgb> colours;
    qsizetype differing = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            colours.insert(pixel);
            if (pixel != background) ++differing;
        }
    }
    EXPECT_GT(colours.size(), 16u);
    EXPECT_GT(differing, qsizetype(image.width()) * image.height() / 200);
}

QImage render(QQuickWindow* window, const QString& fileName) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window, patience));
    const QImage image = window->grabWindow();
    EXPECT_TRUE(image.save(QStringLiteral(ORVELLA_TEST_ARTIFACTS "/") + fileName));
    return image;
}

std::vector<SonosGroup> household() {
    return {group({speaker(1, "Living Room", 2), speaker(2, "Kitchen")}, playingStream()),
            group({speaker(3, "<b>x</b>")})};
}

std::vector<Speaker> speakersOf(const std::vector<SonosGroup>& groups) {
    std::vector<Speaker> all;
    for (const auto& g : groups) {
        for (const Speaker& s : g.speakers()) all.push_back(s);
    }
    return all;
}

}  // namespace

TEST(OrvellaApp, StartUp) {
    OrvellaApp app(fixed(arguments({"--appearance=dark"})));
    EXPECT_EQ(app.redirectUrl().scheme(), "orvella");
    EXPECT_EQ(app.redirectUrl().host(), "spotify-callback");

    EXPECT_EQ(app.dataFolder(), qEnvironmentVariable("XDG_DATA_HOME") + "/Orvella");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(app.dataFolder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    EXPECT_TRUE(VavuzadiRudodTheme::shared()->isDark());
    VavuzadiRudodTheme::shared()->setForcedScheme(std::nullopt);
}

TEST(OrvellaApp, DesktopWindowShowsTheHousehold) {
    OrvellaApp app(fixed(arguments({})));
    QQuickWindow* window = app.showWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title(), "Orvella");
    EXPECT_EQ(window->size(), QSize(1280, 840));
    EXPECT_EQ(window->minimumSize(), QSize(980, 660));

    const auto groups = household();
    app.rootView()->setHousehold(groups, speakersOf(groups));
    // Both slots of the split view list both groups.
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "groupName").size() == 4; }, patience));

    // A room name that looks like markup is shown as the characters it is.
    int plain = 0;
    for (QQuickItem* rooms : itemsNamed(window, "groupRooms")) {
        if (rooms->property("text").toString() != "<b>x</b>") continue;
        EXPECT_EQ(rooms->property("textFormat").toInt(), 0);  // Text.PlainText
        ++plain;
    }
    EXPECT_EQ(plain, 2);

    const QImage image = render(window, "orvella-window.png");
    EXPECT_EQ(image.size(), QSize(1280, 840) * window->devicePixelRatio());
    expectDrawn(image, VavuzadiRudodTheme::shared()->obsidian().rgba());
}

TEST(OrvellaApp, PhoneLayoutWindow) {
    OrvellaApp app(fixed(launch({{"ORVELLA_LAYOUT", "ios"}}, {"--appearance", "dark"})));
    QQuickWindow* window = app.showWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(402, 874));
    EXPECT_EQ(window->minimumSize(), QSize(402, 850));
    EXPECT_EQ(window->maximumWidth(), 430);

    const auto groups = household();
    app.rootView()->setHousehold(groups, speakersOf(groups));
    // Only the current tab's list is visible.
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "groupName").size() == 2; }, patience));

    // The forced appearance reaches the window's own colours.
    EXPECT_EQ(window->color(), VavuzadiRudodTheme::shared()->obsidian());
    EXPECT_EQ(window->color().rgb(), qRgb(22, 18, 14));

    const QImage image = render(window, "orvella-window-phone.png");
    expectDrawn(image, VavuzadiRudodTheme::shared()->obsidian().rgba());
    VavuzadiRudodTheme::shared()->setForcedScheme(std::nullopt);
}

TEST(OrvellaApp, WindowSizeOptionIsAppliedAfterShowing) {
    OrvellaApp app(fixed(launch({{"ORVELLA_WINDOW_SIZE", "1024x700"}})));
    QQuickWindow* window = app.showWindow();
    ASSERT_NE(window, nullptr);
    // Not at once: the job runs from the event loop after its delay.
    EXPECT_EQ(window->size(), QSize(1280, 840));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(1024, 700); }, patience));
}

TEST(OrvellaApp, WindowSizeOptionSkipsNarrowWindows) {
    QWindow narrow;
    narrow.resize(300, 500);
    QWindow wide;
    wide.resize(301, 500);
    OrvellaApp::applyWindowSize({&narrow, &wide}, WindowSize{1024, 700});
    EXPECT_EQ(narrow.size(), QSize(300, 500));
    EXPECT_EQ(wide.size(), QSize(1024, 700));
}
