// The preset bar, the preset creator and the group page as QML draws them, joined to the real
// store: a click on a named item reaches the household. The paths that change the speakers run
// against fake speakers on loopback (127.206.<block>.*), through the real household controller;
// the pill's menu runs on the scripted household.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "LoopbackSeeds.h"
#include "OrvelStore/StateFixtures.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/presets/PresetRowFit.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvellaApp/LiveStoreFactory.h"
#include "ViewRig.h"
#include "fakes/FakeHousehold.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

const PresetPill evening(*PresetID::make("0B9E7D3C-2A14-4F68-8C5B-1E3D9A7F6B02"), "Evening", sp('A'), {sp('C')});

QString qs(const std::string& text) { return QString::fromStdString(text); }

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

constexpr auto presetsVariable = "Orvella_Presets_v1";

// The window on the live store, whose household controller finds the fake speakers through the
// cached addresses (discovery finds nothing) and runs its sweeps on the rig's manual clock.
class LoopbackWindow {
public:
    LoopbackWindow(int block, const QStringList& rooms)
        : fake_(QHostAddress(QStringLiteral("127.206.%1.2").arg(block)), int(rooms.size())) {
        for (qsizetype i = 0; i < rooms.size(); ++i) fake_.model().editSpeaker(fake_.speakerId(int(i))).roomName = rooms[i];
    }
    ~LoopbackWindow() {
        if (!app_) return;
        // Requests still under way would otherwise outlive the fake speakers.
        waitUntil([&] { return !household().isBusy(); });
        app_.reset();
        QCoreApplication::processEvents();
    }
    LoopbackWindow(const LoopbackWindow&) = delete;
    LoopbackWindow& operator=(const LoopbackWindow&) = delete;

    fakes::FakeHousehold& fake() { return fake_; }
    fakes::FakeHouseholdModel& model() { return fake_.model(); }
    QString id(int index) const { return fake_.speakerId(index); }
    OrvellaApp& app() { return *app_; }

    ::testing::AssertionResult start() {
        if (!fake_.start()) return ::testing::AssertionFailure() << fake_.errorString().toStdString();
        const std::filesystem::path folder = rig_.storeFolder.path().toStdString();
        if (auto seeded = seedCachedSpeakers(folder, cachedSpeakersOf(fake_)); !seeded) return seeded;
        OrvellaApp::Platform platform = rig_.platform();
        platform.makeStore = [this, folder](SpotifyBridge&) {
            return LiveStoreFactory::live(rig_.spotifySource, folder, withoutDiscovery(rig_.clock));
        };
        app_ = OrvellaApp::start([] { return arguments({}); }, std::move(platform));
        if (!app_ || !app_->showWindow()) return ::testing::AssertionFailure() << "no window";
        const auto listed = [&] {
            const auto& live = app_->store().state().live();
            return live && live->speakers().size() == std::size_t(fake_.speakerIds().size());
        };
        if (!waitUntil(listed)) return ::testing::AssertionFailure() << "the household did not show";
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<QQuickWindow> load(const QByteArray& qml, const QVariantMap& extra = {}) {
        QVariantMap properties = extra;
        properties.insert(QStringLiteral("store"), QVariant::fromValue(app_->rootView()->viewStore()));
        return loadProbe(*app_, qml, properties);
    }

    // The stored list as the speakers hold it: each preset's name, coordinator and members.
    QStringList storedPresets() const {
        QStringList out;
        const std::optional<QString> text = fake_.model().systemProperty(QString::fromLatin1(presetsVariable));
        if (!text) return out;
        for (const QJsonValue& value : QJsonDocument::fromJson(text->toUtf8()).array()) {
            const QJsonObject preset = value.toObject();
            QStringList members;
            for (const QJsonValue& member : preset[QStringLiteral("memberUUIDs")].toArray()) members << member.toString();
            out << preset[QStringLiteral("name")].toString() + ":" + preset[QStringLiteral("coordinatorUUID")].toString() +
                       ":" + members.join(',');
        }
        return out;
    }

    // Whether the speakers and then the store, after a sweep, show `room` led by `coordinator`.
    bool eventuallyLed(const QString& room, const QString& coordinator) {
        const GroupID led(*SpeakerUUID::make(coordinator.toStdString()));
        return eventually([&] {
            const OrvelState& state = app_->store().state();
            // With no command in flight, what shows is a sweep's reading, not a projection.
            return model().coordinatorOf(room) == coordinator && state.inFlight().empty() &&
                   state.groupID(*SpeakerUUID::make(room.toStdString())) == led;
        });
    }

    bool eventually(const std::function<bool()>& holds) {
        // Grouping changes show in the next sweep, which the manual clock starts.
        return waitUntil([&] {
            if (holds()) return true;
            if (!household().isBusy()) rig_.clock.advance(std::chrono::seconds(1));
            return false;
        });
    }

private:
    SonosHousehold& household() { return liveHousehold(app_->store()); }

    fakes::FakeHousehold fake_;
    AppRig rig_;
    std::unique_ptr<OrvellaApp> app_;
};

QStringList pillsShown(QQuickWindow* window) {
    QStringList pills;
    for (QQuickItem* item : itemsNamedStartingWith(window, "presetBar.pill.")) {
        if (!item->objectName().contains(".menu")) pills << item->objectName();
    }
    return pills;
}

// A window of `width` × `height` with the preset bar (and `properties` of it) bound to the
// application's store.
std::unique_ptr<QQuickWindow> loadBar(OrvellaApp& app, int width, int height, const QByteArray& properties) {
    const QByteArray qml = "Window { id: w; required property ViewStore store; visible: true; width: " +
                           QByteArray::number(width) + "; height: " + QByteArray::number(height) +
                           "\n PresetPillsBar { store: w.store; " + properties + " } }";
    return loadProbe(app, qml, {{"store", QVariant::fromValue(app.rootView()->viewStore())}});
}

// The bar in a window of its own, on the scripted household: Living Room leads Kitchen, Office
// Speaker stands alone, and "Evening" is saved.
struct EveningBar {
    std::unique_ptr<OrvellaApp> app;
    std::unique_ptr<QQuickWindow> window;
};

void showEveningBar(AppRig& rig, EveningBar& bar) {
    bar.app = rig.start(arguments({}));
    ASSERT_TRUE(bar.app && bar.app->showWindow());
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen"), speaker('C', "Office Speaker")};
    household.grouping = "AA BA CC";
    household.presets = std::vector{evening};
    rig.sonos->publish(household.build());
    ASSERT_TRUE(waitUntil([&] { return bar.app->store().state().groups().size() == 2; }));
    bar.window = loadBar(*bar.app, 700, 700, "width: 700");
    ASSERT_NE(bar.window, nullptr);
}

}  // namespace

// Kitchen leads Office; Den and Study stand alone; "Evening" (Den with Study) is on the speakers.
TEST(PresetViews, PresetsAndTheGroupPageRegroupTheSpeakers) {
    LoopbackWindow w(1, {"Kitchen", "Office", "Den", "Study"});
    const QString kitchen = w.id(0), office = w.id(1), den = w.id(2), study = w.id(3);
    w.model().setGroup({kitchen, office});
    w.model().setSystemProperty(QString::fromLatin1(presetsVariable),
                                QStringLiteral(R"([{"id":{"rawValue":"0B9E7D3C-2A14-4F68-8C5B-1E3D9A7F6B02"},)"
                                               R"("name":"Evening","coordinatorUUID":"%1","memberUUIDs":["%2"]}])")
                                    .arg(den, study));
    ASSERT_TRUE(w.start());
    const auto window = w.load(R"(Window {
        id: w
        required property ViewStore store
        required property string groupId
        width: 840; height: 640; visible: true
        Column {
            PresetPillsBar { width: 840; store: w.store }
            GroupDetailView { width: 840; height: 560; store: w.store; groupId: w.groupId }
        }
    })", {{"groupId", kitchen}});
    ASSERT_NE(window, nullptr);
    const auto creator = w.load(R"(Window {
        id: w
        required property ViewStore store
        width: 360; height: 640; visible: true
        PresetCreator { anchors.fill: parent; store: w.store }
    })");
    ASSERT_NE(creator, nullptr);
    ASSERT_TRUE(waitUntil([&] { return pillsShown(window.get()).size() == 1; }));

    // A preset of picked rooms, led by the first pick, is stored on the speakers and shows.
    clickNamed(creator.get(), "creator.room." + study);
    clickNamed(creator.get(), "creator.room." + kitchen);
    clickNamed(creator.get(), "creator.name");
    for (const char key : std::string_view("Late")) QTest::keyClick(creator.get(), key);
    clickNamed(creator.get(), "creator.savePreset");
    ASSERT_TRUE(waitUntil([&] { return w.storedPresets().size() == 2; }));
    EXPECT_EQ(w.storedPresets(), (QStringList{"Evening:" + den + ":" + study, "Late:" + study + ":" + kitchen}));
    ASSERT_TRUE(waitUntil([&] { return pillsShown(window.get()).size() == 2; }));

    // "Ungroup All" takes Office out; "Add Office" brings it back.
    clickNamed(window.get(), "groupDetail.ungroupAll");
    ASSERT_TRUE(w.eventuallyLed(office, office));
    clickNamed(window.get(), "groupDetail.addRoom");
    const QString addOffice = "groupDetail.addRoom." + office;
    ASSERT_TRUE(waitUntil([&] { return textsNamed(window.get(), addOffice) == QStringList{"Add Office"}; }));
    clickMenuEntry(window.get(), addOffice);
    EXPECT_TRUE(w.eventually([&] { return w.model().coordinatorOf(office) == w.model().coordinatorOf(kitchen); }));

    // Applying "Evening" leaves Den leading Study.
    clickNamed(window.get(), "presetBar.pill.0B9E7D3C-2A14-4F68-8C5B-1E3D9A7F6B02");
    EXPECT_TRUE(w.eventuallyLed(den, den));
    EXPECT_TRUE(w.eventuallyLed(study, den));
}

// A speaker that left the household keeps its page; its volume goes to that speaker alone.
TEST(PresetViews, TheOfflinePageSetsTheSpeakersOwnVolume) {
    LoopbackWindow w(2, {"Kitchen", "Garage"});
    const QString kitchen = w.id(0), garage = w.id(1);
    ASSERT_TRUE(w.start());
    w.model().editSpeaker(garage).vanished = true;
    ViewStore* views = w.app().rootView()->viewStore();
    ASSERT_TRUE(w.eventually([&] { return views->offlineSpeakerId() == garage; }));
    const auto window = w.load(R"(Window {
        id: w
        required property ViewStore store
        required property string speakerId
        width: 700; height: 400; visible: true
        OfflineSpeakerDetail { anchors.fill: parent; store: w.store; speakerId: w.speakerId }
    })", {{"speakerId", garage}});
    ASSERT_NE(window, nullptr);

    w.fake().clearRequests();
    clickNamed(window.get(), "speakerRow." + garage + ".volume.plus");
    // Volume changes leave after a short gather, timed by the manual clock.
    ASSERT_TRUE(w.eventually([&] { return w.fake().requestLog(garage).contains("RenderingControl#SetVolume"); }));
    for (const QString& target : w.fake().requestLog()) EXPECT_FALSE(target.startsWith("GroupRenderingControl")) << target.toStdString();
    EXPECT_FALSE(w.fake().requestLog(kitchen).contains("RenderingControl#SetVolume"));
}

// The pill's menu is built when it opens: rename opens with the name, delete acts on its preset;
// the add button opens an empty creator.
TEST(PresetViews, PillMenuRenamesAndDeletesAndTheAddButtonOpensAnEmptyCreator) {
    AppRig rig;
    EveningBar bar;
    ASSERT_NO_FATAL_FAILURE(showEveningBar(rig, bar));
    const auto& window = bar.window;

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

// Rename and the creator take the keyboard as they open, as an alert or a popover with a text
// field does: typing replaces the selected name, Return saves, Escape leaves the name as it was.
TEST(PresetViews, RenameAndTheCreatorTakeTheKeyboardAsTheyOpen) {
    AppRig rig;
    EveningBar bar;
    ASSERT_NO_FATAL_FAILURE(showEveningBar(rig, bar));
    const auto& window = bar.window;
    auto focused = [&](const QString& name) {
        return waitUntil([&] {
            QQuickItem* field = only(window.get(), name);
            return field && field->hasActiveFocus();
        });
    };
    auto type = [&](std::string_view text) {
        for (const char key : text) QTest::keyClick(window.get(), key);
    };

    const QString pill = "presetBar.pill." + qs(evening.id().rawValue());
    rightClick(window.get(), pill);
    clickMenuEntry(window.get(), pill + ".menu.rename");
    ASSERT_TRUE(focused("presetBar.renameField"));
    type("Night");
    QTest::keyClick(window.get(), Qt::Key_Return);
    const auto renamed = firstSent(rig, &SonosCommand::isSavePresets);
    ASSERT_TRUE(renamed.has_value());
    ASSERT_EQ(renamed->asSavePresets()->presets.size(), 1u);
    EXPECT_EQ(renamed->asSavePresets()->presets[0].name(), "Night");
    ASSERT_TRUE(waitUntil([&] { return itemsNamed(window.get(), "presetBar.renameField").empty(); }));

    rig.sonos->sent.clear();
    rightClick(window.get(), pill);
    clickMenuEntry(window.get(), pill + ".menu.rename");
    ASSERT_TRUE(focused("presetBar.renameField"));
    type("Gone");
    QTest::keyClick(window.get(), Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([&] { return itemsNamed(window.get(), "presetBar.renameField").empty(); }));

    // Return saves only what "Save Preset" would: a draft that cannot be saved yet stays open.
    const QString roomB = "creator.room." + qs(sp('B').rawValue());
    const QString roomC = "creator.room." + qs(sp('C').rawValue());
    auto draftKept = [&](const QString& name, const QStringList& ticked) {
        QCoreApplication::processEvents();
        QStringList picked;
        for (const QString& room : {roomB, roomC}) {
            if (QQuickItem* row = only(window.get(), room); row && row->property("picked").toBool()) picked << room;
        }
        return textsNamed(window.get(), "creator.name") == QStringList{name} && picked == ticked &&
               focused("creator.name");
    };
    clickNamed(window.get(), "presetBar.add");
    ASSERT_TRUE(focused("creator.name"));
    type("Dinner");
    clickNamed(window.get(), roomB);
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(draftKept("Dinner", {roomB}));
    clickNamed(window.get(), roomC);
    QTest::keyClick(window.get(), Qt::Key_Return);
    const auto created = firstSent(rig, &SonosCommand::isSavePresets);
    ASSERT_TRUE(created.has_value());
    const auto& saved = created->asSavePresets()->presets;
    // The first save after Escape and the early Return is the creator's last: neither the
    // cancelled name nor the draft of one room was sent.
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_NE(saved[0].name(), "Gone");
    EXPECT_EQ(saved[1].name(), "Dinner");
    EXPECT_EQ(saved[1].coordinatorUUID(), sp('B'));
    EXPECT_EQ(saved[1].memberUUIDs(), std::set{sp('C')});
    ASSERT_TRUE(waitUntil([&] { return itemsNamed(window.get(), "creator.name").empty(); }));

    rig.sonos->sent.clear();
    clickNamed(window.get(), "presetBar.add");
    ASSERT_TRUE(focused("creator.name"));
    clickNamed(window.get(), roomB);
    clickNamed(window.get(), roomC);
    type("  ");
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(draftKept("  ", {roomB, roomC}));
    EXPECT_TRUE(rig.sonos->sent.empty());
}

namespace {

// `count` presets of Living Room with Kitchen, named "Preset 1" on, each in its own id.
std::vector<PresetPill> numberedPresets(int count) {
    std::vector<PresetPill> presets;
    for (int i = 1; i <= count; ++i) {
        const std::string id = QStringLiteral("0B9E7D3C-2A14-4F68-8C5B-%1").arg(i, 12, 10, QLatin1Char('0')).toStdString();
        presets.emplace_back(*PresetID::make(id), "Preset " + std::to_string(i), sp('A'), std::set{sp('B')});
    }
    return presets;
}

}  // namespace

// The header row of a narrow window shows the pills that fit and lists the rest behind its
// overflow button, from which a preset applies; the add button stays in the row. A thousand
// presets make only the pills on screen.
TEST(PresetViews, HeaderRowKeepsEveryPresetInReach) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_TRUE(app && app->showWindow());
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen"), speaker('C', "Office")};
    household.grouping = "AA BA CC";
    household.presets = numberedPresets(8);
    rig.sonos->publish(household.build());
    ASSERT_TRUE(waitUntil([&] { return app->store().state().presets().size() == 8; }));
    const auto window = loadBar(*app, 440, 400, "width: 420; inToolbar: true");
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(waitUntil([&] { return only(window.get(), "presetBar.overflow") != nullptr; }));
    const QStringList inRow = pillsShown(window.get());
    EXPECT_GE(inRow.size(), 1);
    EXPECT_LT(inRow.size(), 8);
    for (const QString& name : {QStringLiteral("presetBar.add"), QStringLiteral("presetBar.overflow")}) {
        QQuickItem* item = only(window.get(), name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        EXPECT_LE(item->mapToScene(QPointF(item->width(), 0)).x(), 420.0) << name.toStdString();
    }

    const PresetPill last = numberedPresets(8).back();
    clickNamed(window.get(), "presetBar.overflow");
    clickNamed(window.get(), "presetBar.overflow." + qs(last.id().rawValue()));
    const auto applied = firstSent(rig, &SonosCommand::isApplyPreset);
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(applied->asApplyPreset()->preset.id(), last.id());

    household.presets = numberedPresets(1000);
    rig.sonos->publish(household.build());
    ASSERT_TRUE(waitUntil([&] { return app->store().state().presets().size() == 1000; }));
    const auto inline_ = loadBar(*app, 700, 100, "width: 700");
    ASSERT_NE(inline_, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !pillsShown(inline_.get()).isEmpty(); }));
    EXPECT_LT(pillsShown(inline_.get()).size(), 40);
    EXPECT_LT(pillsShown(window.get()).size(), 8);
}

// The pill's menu is made anew at every opening; what the last opening made goes with it,
// submenus included.
TEST(PresetViews, PillMenuOpenedAgainLeavesNoSubmenuBehind) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_TRUE(app && app->showWindow());
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen"), speaker('C', "Office"),
                          speaker('D', "Den")};
    // Two groups of two rooms: the update entry is a submenu.
    household.grouping = "AA BA CC DC";
    household.presets = std::vector{evening};
    rig.sonos->publish(household.build());
    ASSERT_TRUE(waitUntil([&] { return app->store().state().groups().size() == 2; }));
    const auto window = loadBar(*app, 700, 500, "objectName: \"bar\"; width: 700");
    ASSERT_NE(window, nullptr);

    const QString pill = "presetBar.pill." + qs(evening.id().rawValue());
    const QString submenu = pill + ".menu.submenu";
    for (int opening = 0; opening < 3; ++opening) {
        rightClick(window.get(), pill);
        ASSERT_TRUE(waitUntil([&] { return only(window.get(), pill + ".menu.delete") != nullptr; }));
        QTest::keyClick(window.get(), Qt::Key_Escape);
        ASSERT_TRUE(waitUntil([&] { return itemsNamed(window.get(), pill + ".menu.delete").empty(); }));
    }
    EXPECT_EQ(only(window.get(), "bar")->findChildren<QObject*>(submenu).size(), 1);
    // A right click opens the menu and nothing else: it applies no preset.
    EXPECT_TRUE(std::ranges::none_of(rig.sonos->sent, [](const SonosCommand& sent) { return sent.isApplyPreset(); }));
}

// Pills take their names whole up to an ordinary name of about thirty characters, however much
// room the row has left; longer and hostile names are cut at the widest pill, in the header
// and inline alike.
TEST(PresetViews, PillsShowOrdinaryNamesWholeAndCutOnlyLongOnes) {
    struct Case {
        std::string name;
        bool cut;
    };
    std::string twoHundred;
    while (twoHundred.size() < 200) twoHundred += "Bathroom Annex ";
    twoHundred.resize(200);
    std::string notes;
    for (int i = 0; i < 60; ++i) notes += "\U0001F3B5";
    const std::vector<Case> cases{
        {"Kids", false},
        {"The Whole Ground Floor", false},
        {"Kitchen and Dining Room", false},
        {"Upstairs Bedrooms and Study", false},
        {"The Whole Ground Floor and Den", false},
        {"Bathroom, Hall and Bedroom Two", false},
        {twoHundred, true},
        {std::string(60, 'W'), true},
        {notes, true},
    };
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_TRUE(app && app->showWindow());
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen")};
    household.grouping = "AA BB";
    std::vector<PresetPill> presets = numberedPresets(int(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) presets[i] = presets[i].renamed(cases[i].name);
    household.presets = presets;
    rig.sonos->publish(household.build());
    ASSERT_TRUE(waitUntil([&] { return app->store().state().presets().size() == cases.size(); }));

    for (const bool header : {true, false}) {
        const double widest = maximumPresetPillWidth(header);
        const auto window = loadBar(*app, 3000, 100, header ? "width: 2980; inToolbar: true" : "width: 2980");
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(waitUntil([&] { return pillsShown(window.get()).size() == int(cases.size()); })) << header;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            QQuickItem* pill = only(window.get(), "presetBar.pill." + qs(presets[i].id().rawValue()));
            ASSERT_NE(pill, nullptr) << cases[i].name;
            QList<QQuickItem*> titles;
            collectNamed(pill, "presetPill.title", titles);
            ASSERT_EQ(titles.size(), 1) << cases[i].name;
            EXPECT_EQ(titles.front()->property("truncated").toBool(), cases[i].cut) << header << " " << cases[i].name;
            if (cases[i].cut) {
                EXPECT_EQ(pill->width(), widest) << header << " " << cases[i].name;
            } else {
                EXPECT_LT(pill->width(), widest) << header << " " << cases[i].name;
            }
        }
    }
}
