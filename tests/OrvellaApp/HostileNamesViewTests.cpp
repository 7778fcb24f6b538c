// Names the speakers report may be endless, stacked with combining marks or blank: the group page
// and the dock draw them inside their rows, cut short, and the window stays whole.
#include <gtest/gtest.h>

#include "OrvelStore/StateFixtures.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvelUI/common/ShownText.h"
#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "ViewRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

std::string repeated(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

double rightEdge(QQuickItem* item) { return item->mapToScene(QPointF(item->width(), 0)).x(); }

}  // namespace

TEST(HostileNamesView, GroupPageAndDockKeepNamesInsideTheirRows) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_TRUE(app && app->showWindow());
    Household household;
    household.speakers = {speaker('A', repeated("\U0001F3B5", 20000)), speaker('B', "e" + repeated("\u0301", 20000)),
                          speaker('C', " \u00A0 ")};
    household.grouping = "AA BA CA";
    rig.sonos->publish(household.build());
    ASSERT_TRUE(waitUntil([&] { return app->store().state().groups().size() == 1; }));
    const auto window = loadProbe(*app, R"(Window {
        id: w
        required property ViewStore store
        required property string groupId
        width: 640; height: 700; visible: true
        GroupDetailView { anchors.fill: parent; store: w.store; groupId: w.groupId }
    })", {{"store", QVariant::fromValue(app->rootView()->viewStore())},
          {"groupId", QString::fromStdString(gid(1).description())}});
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(waitUntil([&] { return only(window.get(), "groupDetail.title") != nullptr; }));
    QQuickItem* title = only(window.get(), "groupDetail.title");
    // Cut to what a view shows before any text layout: 64 columns, an emoji (two UTF-16 units)
    // taking two of them, a letter keeping four of its marks.
    const qsizetype mostUnits = 5 * qsizetype(shownTextLimits.columns);
    EXPECT_LE(title->property("text").toString().size(), mostUnits);
    EXPECT_LE(rightEdge(title), 640.0);
    for (char room : {'A', 'B', 'C'}) {
        const QString row = "speakerRow." + QString::fromStdString(sp(room).rawValue());
        ASSERT_TRUE(waitUntil([&] { return only(window.get(), row + ".name") != nullptr; })) << room;
        QQuickItem* name = only(window.get(), row + ".name");
        EXPECT_LE(rightEdge(name), rightEdge(only(window.get(), row))) << room;
        EXPECT_LE(name->property("text").toString().size(), mostUnits) << room;
    }

    // The dock of the same group: its title and subtitle stay inside the bar.
    const auto dock = loadProbe(*app, R"(Window {
        required property OrvelRootView view
        width: 980; height: 200; visible: true
        NowPlayingDockView { x: 20; width: 940; anchors.bottom: parent.bottom; height: implicitHeight; dock: view.dock }
    })", {{"view", QVariant::fromValue(app->rootView())}});
    ASSERT_NE(dock, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !itemsNamed(dock.get(), "dock.primaryTitle").isEmpty(); }));
    QQuickItem* bar = only(dock.get(), "dock");
    for (const QString& text : {QStringLiteral("dock.primaryTitle"), QStringLiteral("dock.subtitle")}) {
        QQuickItem* line = only(dock.get(), text);
        ASSERT_NE(line, nullptr) << text.toStdString();
        EXPECT_LE(rightEdge(line), rightEdge(bar)) << text.toStdString();
    }
}
