// The composed full map with 32 rooms in 8 groups (and 60 with hostile names, and 128 rooms in
// 16 groups), rendered offscreen with the software scene graph: the time from creating the view
// to its first frame (full canvas and compact map), the time of one frame while the groups play
// (the highlight moves), the processor time the map takes while half of its groups play, over
// 5 s of the real clock with the highlight at its cap, and the processor time an idle map takes
// over 10 s when nothing plays (no timers, no frames: it must be near zero).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <sys/resource.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
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

// A name a speaker may report: 200 characters, right-to-left text, a flood of combining marks
// on one letter, or only spaces.
std::string hostileName(int i) {
    std::string name;
    switch (i % 4) {
        case 0:
            for (int k = 0; k < 20; ++k) name += "Room name ";
            return name;
        case 1:
            for (int k = 0; k < 20; ++k) name += "\u05D7\u05D3\u05E8 \u0627\u0644\u063A\u0631\u0641\u0629 ";
            return name;
        case 2:
            name = "Z";
            for (int k = 0; k < 200; ++k) name += "\u0301\u0316";
            return name;
        default: return "     ";
    }
}

// Floors of eight rooms; room i belongs to group i mod `groups`, led by its first room; the
// first `playing` groups play, the others are paused.
class BenchHost final : public MapDragHost {
public:
    BenchHost(int speakers, int groups, int playing, bool hostile = false) {
        static const char* rooms[] = {"Kitchen", "Living Room", "Bedroom", "Office", "Bath", "Hall", "Dining", "Study"};
        std::vector<std::vector<Speaker>> members(static_cast<std::size_t>(groups));
        for (int i = 0; i < speakers; ++i) {
            Speaker s{speakerID(i + 1), hostile ? hostileName(i) : std::string(rooms[i % 8]) + " " + std::to_string(i / 8 + 1),
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
            const bool plays = int(groups_.size()) < playing;
            groups_.push_back(SonosGroup{GroupID(coordinator.id), coordinator,
                                         std::vector<Speaker>(m.begin() + 1, m.end()),
                                         plays ? PlaybackState::playing(NowPlaying::stream("Radio"), Duration(), Date())
                                               : PlaybackState::paused(NowPlaying::stream("Radio"), Duration()),
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

// Made by main(), which also ends it.
QGuiApplication& application() { return *qGuiApp; }

struct MapScene {
    explicit MapScene(bool playing = true, bool phone = false) : host(32, 8, playing ? 8 : 0), phone(phone) {}
    MapScene(int speakers, bool hostile) : host(speakers, 8, 8, hostile), phone(false) {}
    // The real clock, so the highlight moves on its own.
    MapScene(int speakers, int groups, int playing) : host(speakers, groups, playing), phone(false), live(true) {}

    BenchHost host;
    bool phone;
    bool live = false;
    Haptics haptics;
    ManualClock clock;
    FloorplanMapPresenter presenter{host, haptics, live ? Clock::system() : static_cast<Clock&>(clock), {}};
    QQmlEngine engine;
    std::unique_ptr<QQuickWindow> window;

    bool load() {
        QQmlComponent component(&engine);
        const QByteArray size = phone ? "width: 390; height: 844" : "width: 1200; height: 1400";
        component.setData("import QtQuick\nimport Orvella.UI\nWindow { id: w; " + size + "; visible: true\n"
                          "  required property FloorplanMapPresenter presenter\n"
                          "  required property bool phone\n"
                          "  FloorplanMapView { anchors.fill: parent; presenter: w.presenter; phoneLayout: w.phone } }",
                          QUrl("qrc:/Orvella/UI/BenchMap.qml"));
        QObject* root = component.createWithInitialProperties(
            {{"presenter", QVariant::fromValue(&presenter)}, {"phone", phone}});
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

// 60 rooms whose names are long, right-to-left, floods of combining marks or only spaces (1),
// beside the same map with plain names (0).
void BM_FirstFrameSixtyRooms(benchmark::State& state) {
    application();
    for (auto _ : state) {
        MapScene scene(60, state.range(0) == 1);
        if (!scene.load()) {
            state.SkipWithError("the map did not load");
            return;
        }
        const QImage frame = scene.window->grabWindow();
        benchmark::DoNotOptimize(frame.constBits());
        // ORVELLA_BENCH_PICTURE=<folder> keeps the last frame of each, to look at.
        if (const QString folder = qEnvironmentVariable("ORVELLA_BENCH_PICTURE"); !folder.isEmpty()) {
            frame.save(folder + QStringLiteral("/sixty-rooms-hostile-%1.png").arg(state.range(0)));
        }
        state.counters["rooms"] = scene.presenter.rooms()->count();
    }
}
BENCHMARK(BM_FirstFrameSixtyRooms)->ArgName("hostileNames")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CompactFirstFrame(benchmark::State& state) {
    application();
    for (auto _ : state) {
        MapScene scene(true, true);
        if (!scene.load()) {
            state.SkipWithError("the map did not load");
            return;
        }
        const QImage frame = scene.window->grabWindow();
        benchmark::DoNotOptimize(frame.constBits());
        state.counters["floors"] = scene.presenter.compact()->floors()->count();
    }
}
BENCHMARK(BM_CompactFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

// Grabs frame after frame of one loaded map; while playing, the moving highlight steps a frame
// between grabs.
void grabFrames(benchmark::State& state, bool playing) {
    application();
    MapScene scene;
    if (!scene.load()) {
        state.SkipWithError("the map did not load");
        return;
    }
    scene.window->grabWindow();
    for (auto _ : state) {
        if (playing) {
            scene.clock.advance(std::chrono::milliseconds(FloorplanMapPresenter::frameInterval));
            scene.presenter.advanceFrame();
        }
        const QImage frame = scene.window->grabWindow();
        benchmark::DoNotOptimize(frame.constBits());
    }
    if (!playing) return;
    state.counters["animating"] = scene.presenter.animating();
    state.counters["links"] = double(scene.presenter.links().size());
    state.counters["frameBudgetMs"] = FloorplanMapPresenter::frameInterval;
}

void BM_FrameWhilePlaying(benchmark::State& state) { grabFrames(state, true); }
BENCHMARK(BM_FrameWhilePlaying)->Unit(benchmark::kMillisecond);

// The same grab with nothing changed: what the window's own rendering and the read-back cost,
// to set the moving highlight's share apart.
void BM_FrameUnchanged(benchmark::State& state) { grabFrames(state, false); }
BENCHMARK(BM_FrameUnchanged)->Unit(benchmark::kMillisecond);

double processorSeconds();

// Half the groups play with the real clock: the highlight runs at its cap for 5 s. The counters
// give the share of a core the map's window took (drawing included) and the frames it drew.
void BM_PlayingProcessorShare(benchmark::State& state) {
    application();
    MapScene scene(int(state.range(0)), int(state.range(1)), int(state.range(1)) / 2);
    if (!scene.load()) {
        state.SkipWithError("the map did not load");
        return;
    }
    scene.window->grabWindow();
    int frames = 0;
    QObject::connect(scene.window.get(), &QQuickWindow::frameSwapped, [&frames] { ++frames; });
    const auto runFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    // The cards' entrance ends first.
    runFor(1000);
    for (auto _ : state) {
        frames = 0;
        const double before = processorSeconds();
        QElapsedTimer wall;
        wall.start();
        runFor(5000);
        const double used = processorSeconds() - before;
        state.counters["cpuPercent"] = used * 1000 / double(wall.elapsed()) * 100;
        state.counters["framesPerSecond"] = frames * 1000.0 / double(wall.elapsed());
    }
    state.counters["animating"] = scene.presenter.animating();
}
BENCHMARK(BM_PlayingProcessorShare)->ArgNames({"rooms", "groups"})->Args({32, 8})->Args({128, 16})
    ->Unit(benchmark::kMillisecond)->Iterations(1);

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Nothing plays: after its first frame the map's window should neither tick nor draw. The
// event loop runs for 10 s of wall time; the counters give the processor time it took and the
// frames the window drew meanwhile.
void BM_IdleWithNothingPlaying(benchmark::State& state) {
    application();
    MapScene scene(false);
    if (!scene.load()) {
        state.SkipWithError("the map did not load");
        return;
    }
    scene.window->grabWindow();
    const auto runFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    // The cards' entrance (hubs fade in) ends first.
    runFor(1000);
    int frames = 0;
    QObject::connect(scene.window.get(), &QQuickWindow::frameSwapped, [&frames] { ++frames; });
    for (auto _ : state) {
        const double before = processorSeconds();
        QElapsedTimer wall;
        wall.start();
        runFor(10000);
        const double used = processorSeconds() - before;
        state.counters["cpuMs"] = used * 1000;
        state.counters["cpuPercent"] = used * 1000 / double(wall.elapsed()) * 100;
    }
    state.counters["framesDrawn"] = frames;
    state.counters["animating"] = scene.presenter.animating();
}
BENCHMARK(BM_IdleWithNothingPlaying)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// The application lives in main's frame: one destroyed among the exit handlers would tear down
// the controls' theme after the statics it uses are gone.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
