// The composed full map with 32 rooms in 8 groups, rendered offscreen with the software scene
// graph: the time from creating the view to its first frame, and the time of one frame while a
// group plays (the highlight moves, so the link layer repaints). The highlight timer asks for
// at most 30 frames a second, so a frame must stay well inside 33 ms.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/PlaybackState.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelUI/map/FloorplanMapPresenter.h"
#include "OrvelUI/theme/Haptics.h"
#include "testing/ManualClock.h"

Q_IMPORT_QML_PLUGIN(Orvella_UIPlugin)

using namespace orvel;

namespace {

SpeakerUUID speakerID(int n) {
    char text[32];
    std::snprintf(text, sizeof text, "RINCON_%012X01400", static_cast<unsigned>(n));
    return *SpeakerUUID::make(text);
}

// Four floors of eight rooms; room i belongs to group i mod 8, led by its first room; every
// group plays.
class BenchHost final : public MapDragHost {
public:
    BenchHost(int speakers, int groups) {
        static const char* rooms[] = {"Kitchen", "Living Room", "Bedroom", "Office", "Bath", "Hall", "Dining", "Study"};
        std::vector<std::vector<Speaker>> members(static_cast<std::size_t>(groups));
        for (int i = 0; i < speakers; ++i) {
            Speaker s{speakerID(i + 1), std::string(rooms[i % 8]) + " " + std::to_string(i / 8 + 1),
                      SpeakerModel::one(), ReachabilityState::online("127.0.0.1"), DiscreteVolume::snappingPercent(20),
                      {}};
            const double x = 0.1 + 0.8 * static_cast<double>(i % 4) / 3;
            const double y = 0.3 + 0.4 * static_cast<double>((i / 4) % 2);
            auto& group = members[static_cast<std::size_t>(i % groups)];
            group.push_back(s);
            nodes_.push_back(FloorplanNode{s, FloorLevel::numbered(-(i / 8)), RoomCoordinate::clamping(x, y),
                                           Placement::inferred, GroupID(group.front().id)});
        }
        for (auto& m : members) {
            const Speaker coordinator = m.front();
            groups_.push_back(SonosGroup{GroupID(coordinator.id), coordinator,
                                         std::vector<Speaker>(m.begin() + 1, m.end()),
                                         PlaybackState::playing(NowPlaying::stream("Radio"), Duration(), Date()),
                                         DiscreteVolume::snappingPercent(20), coordinator.roomName});
        }
    }
    const std::vector<FloorplanNode>& floorplan() const override { return nodes_; }
    const std::vector<SonosGroup>& groups() const override { return groups_; }
    void group(const SpeakerUUID&, const SpeakerUUID&) override {}
    void moveRoom(const SpeakerUUID&, RoomCoordinate) override {}

private:
    std::vector<FloorplanNode> nodes_;
    std::vector<SonosGroup> groups_;
};

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "bench_floorplan_map_view";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}

struct MapScene {
    BenchHost host{32, 8};
    Haptics haptics;
    ManualClock clock;
    FloorplanMapPresenter presenter{host, haptics, clock, {}};
    QQmlEngine engine;
    std::unique_ptr<QQuickWindow> window;

    bool load() {
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport Orvella.UI\nWindow { id: w; width: 1200; height: 1400; visible: true\n"
                          "  required property FloorplanMapPresenter presenter\n"
                          "  FloorplanMapView { anchors.fill: parent; presenter: w.presenter } }",
                          QUrl("qrc:/Orvella/UI/BenchMap.qml"));
        QObject* root = component.createWithInitialProperties({{"presenter", QVariant::fromValue(&presenter)}});
        window.reset(qobject_cast<QQuickWindow*>(root));
        if (!window) {
            std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
            return false;
        }
        // The window draws once the platform has exposed it.
        QElapsedTimer waited;
        waited.start();
        while (!window->isExposed() && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::processEvents();
        return window->isExposed();
    }
};

void BM_FirstFrame(benchmark::State& state) {
    application();
    for (auto _ : state) {
        MapScene scene;
        if (!scene.load()) {
            state.SkipWithError("the map did not load");
            return;
        }
        const QImage frame = scene.window->grabWindow();
        benchmark::DoNotOptimize(frame.constBits());
        state.counters["rooms"] = scene.presenter.rooms()->count();
        state.counters["hubs"] = scene.presenter.hubs()->count();
    }
}
BENCHMARK(BM_FirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FrameWhilePlaying(benchmark::State& state) {
    application();
    MapScene scene;
    if (!scene.load()) {
        state.SkipWithError("the map did not load");
        return;
    }
    scene.window->grabWindow();
    for (auto _ : state) {
        scene.clock.advance(std::chrono::milliseconds(FloorplanMapPresenter::frameInterval));
        scene.presenter.advanceFrame();
        const QImage frame = scene.window->grabWindow();
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["animating"] = scene.presenter.animating();
    state.counters["links"] = double(scene.presenter.links().size());
    state.counters["frameBudgetMs"] = FloorplanMapPresenter::frameInterval;
}
BENCHMARK(BM_FrameWhilePlaying)->Unit(benchmark::kMillisecond);

// The same grab with nothing changed: what the window's own rendering and the read-back cost,
// to set the moving highlight's share apart.
void BM_FrameUnchanged(benchmark::State& state) {
    application();
    MapScene scene;
    if (!scene.load()) {
        state.SkipWithError("the map did not load");
        return;
    }
    scene.window->grabWindow();
    for (auto _ : state) {
        const QImage frame = scene.window->grabWindow();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_FrameUnchanged)->Unit(benchmark::kMillisecond);

}  // namespace
