// The preset bar, the preset creator and the group page as QML draws them, joined to the real
// store: a click on a named item reaches the household as the store's command.
#include <gtest/gtest.h>

#include "OrvelStore/StateFixtures.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "ViewRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

const PresetPill evening(*PresetID::make("0B9E7D3C-2A14-4F68-8C5B-1E3D9A7F6B02"), "Evening", sp('A'), {sp('C')});

QString qs(const std::string& text) { return QString::fromStdString(text); }

// A and B grouped under A, C alone, one saved preset; the window's store loop is running.
std::unique_ptr<OrvellaApp> startWithHousehold(AppRig& rig) {
    auto app = rig.start(arguments({}));
    if (!app || !app->showWindow()) return nullptr;
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen"), speaker('C', "Office Speaker"),
                          speaker('D', "Den")};
    household.grouping = "AA BA CC DD";
    household.presets = std::vector{evening};
    rig.sonos->publish(household.build());
    if (!waitUntil([&] { return app->store().state().groups().size() == 3; })) return nullptr;
    return app;
}

std::unique_ptr<QQuickWindow> load(OrvellaApp& app, const QByteArray& qml) {
    return loadProbe(app, qml,
                     {{"store", QVariant::fromValue(app.rootView()->viewStore())}, {"groupId", qs(sp('A').rawValue())}});
}

// A menu lays its entries out after it opens: an entry below the first is clicked once it has
// left the top.
void clickMenuEntry(QQuickWindow* window, const QString& name) {
    ASSERT_TRUE(waitUntil([&] {
        QQuickItem* item = only(window, name);
        return item && item->y() > 0;
    })) << name.toStdString();
    clickNamed(window, name);
}

void rightClick(QQuickWindow* window, const QString& name) {
    ASSERT_TRUE(waitUntil([&] { return only(window, name) != nullptr; })) << name.toStdString();
    QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier, centreOf(only(window, name)).toPoint());
}

}  // namespace

TEST(PresetViews, UngroupAllAddRoomAndAPresetPillReachTheHousehold) {
    AppRig rig;
    const auto app = startWithHousehold(rig);
    ASSERT_NE(app, nullptr);
    const auto window = load(*app, R"(Window {
        id: w
        required property ViewStore store
        required property string groupId
        width: 900; height: 640; visible: true
        Column {
            PresetPillsBar { width: 900; store: w.store }
            GroupDetailView { width: 900; height: 560; store: w.store; groupId: w.groupId }
        }
    })");
    ASSERT_NE(window, nullptr);

    // A group of two: "Ungroup All" takes the one member out.
    clickNamed(window.get(), "groupDetail.ungroupAll");
    const auto ungrouped = firstSent(rig, &SonosCommand::isUngroup);
    ASSERT_TRUE(ungrouped.has_value());
    EXPECT_EQ(*ungrouped, SonosCommand::ungroup(sp('B')));

    // The rooms outside the group are offered under their short names; the one listed second
    // (once the menu has laid it out) joins A's group.
    clickNamed(window.get(), "groupDetail.addRoom");
    const QString office = "groupDetail.addRoom." + qs(sp('C').rawValue());
    const QString den = "groupDetail.addRoom." + qs(sp('D').rawValue());
    ASSERT_TRUE(waitUntil([&] { return textsNamed(window.get(), office) == QStringList{"Add Office"}; }));
    std::optional<SpeakerUUID> second;
    ASSERT_TRUE(waitUntil([&] {
        const auto below = [&](const QString& name) {
            const QList<QQuickItem*> items = itemsNamed(window.get(), name);
            return items.size() == 1 && items.front()->y() > 0;
        };
        if (below(office)) second = sp('C');
        if (below(den)) second = sp('D');
        return second.has_value();
    }));
    clickMenuEntry(window.get(), *second == sp('C') ? office : den);
    const auto joined = firstSent(rig, &SonosCommand::isGroup);
    ASSERT_TRUE(joined.has_value());
    EXPECT_EQ(*joined, SonosCommand::group(*second, GroupID(sp('A'))));

    clickNamed(window.get(), "presetBar.pill." + qs(evening.id().rawValue()));
    const auto applied = firstSent(rig, &SonosCommand::isApplyPreset);
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(applied->asApplyPreset()->preset, evening);
}

TEST(PresetViews, ComposedPresetIsSavedOnTheSpeakersLedByTheFirstPick) {
    AppRig rig;
    const auto app = startWithHousehold(rig);
    ASSERT_NE(app, nullptr);
    const auto window = load(*app, R"(Window {
        id: w
        required property ViewStore store
        required property string groupId
        width: 360; height: 480; visible: true
        PresetCreator { anchors.fill: parent; store: w.store }
    })");
    ASSERT_NE(window, nullptr);

    clickNamed(window.get(), "creator.room." + qs(sp('C').rawValue()));
    clickNamed(window.get(), "creator.room." + qs(sp('A').rawValue()));
    clickNamed(window.get(), "creator.name");
    for (const char key : std::string_view("  Late  ")) QTest::keyClick(window.get(), key);
    clickNamed(window.get(), "creator.savePreset");

    const auto saved = firstSent(rig, &SonosCommand::isSavePresets);
    ASSERT_TRUE(saved.has_value());
    const auto& presets = saved->asSavePresets()->presets;
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[0], evening);
    EXPECT_EQ(presets[1].name(), "Late");
    EXPECT_EQ(presets[1].coordinatorUUID(), sp('C'));
    EXPECT_EQ(presets[1].memberUUIDs(), std::set{sp('A')});
}

// The pill's menu is built when it opens: rename opens with the name, delete acts on its preset;
// the add button opens an empty creator.
TEST(PresetViews, PillMenuRenamesAndDeletesAndTheAddButtonOpensAnEmptyCreator) {
    AppRig rig;
    const auto app = startWithHousehold(rig);
    ASSERT_NE(app, nullptr);
    const auto window = load(*app, R"(Window {
        id: w
        required property ViewStore store
        required property string groupId
        width: 700; height: 700; visible: true
        PresetPillsBar { width: 700; store: w.store }
    })");
    ASSERT_NE(window, nullptr);

    const QString pill = "presetBar.pill." + qs(evening.id().rawValue());
    rightClick(window.get(), pill);
    clickMenuEntry(window.get(), pill + ".menu.rename");
    ASSERT_TRUE(waitUntil([&] { return textsNamed(window.get(), "presetBar.renameField") == QStringList{"Evening"}; }));
    clickNamed(window.get(), "presetBar.renameField");
    QTest::keyClick(window.get(), Qt::Key_End);
    for (const char key : std::string_view(" Late")) QTest::keyClick(window.get(), key);
    clickNamed(window.get(), "presetBar.renameSave");
    const auto renamed = firstSent(rig, &SonosCommand::isSavePresets);
    ASSERT_TRUE(renamed.has_value());
    ASSERT_EQ(renamed->asSavePresets()->presets.size(), 1u);
    EXPECT_EQ(renamed->asSavePresets()->presets[0].name(), "Evening Late");
    ASSERT_TRUE(waitUntil([&] { return itemsNamed(window.get(), "presetBar.renameField").empty(); }));

    rig.sonos->sent.clear();
    rightClick(window.get(), pill);
    // One multi-room group: the update entry is a direct one naming it.
    ASSERT_TRUE(waitUntil([&] { return only(window.get(), pill + ".menu.update." + qs(sp('A').rawValue())) != nullptr; }));
    clickMenuEntry(window.get(), pill + ".menu.delete");
    const auto deleted = firstSent(rig, &SonosCommand::isSavePresets);
    ASSERT_TRUE(deleted.has_value());
    EXPECT_TRUE(deleted->asSavePresets()->presets.empty());

    clickNamed(window.get(), "presetBar.add");
    ASSERT_TRUE(waitUntil([&] { return only(window.get(), "creator.savePreset") != nullptr; }));
    EXPECT_FALSE(only(window.get(), "creator.savePreset")->isEnabled());
    EXPECT_EQ(textsNamed(window.get(), "creator.name"), QStringList{""});
}
