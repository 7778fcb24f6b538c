#include "OrvellaApp/PerformanceProbe.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <set>
#include <tuple>
#include <unordered_set>
#include <vector>

#include <QAbstractItemModel>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFont>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>

#include "OrvelStore/OrvelStore.h"

namespace orvel {

namespace {

void report(const char* event) {
    std::fprintf(stderr, "probe %s %lld\n", event, static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
}

// A tick every 10 ms: a tick that comes late by more than the threshold is a stall of the loop.
void watchForStalls(QObject& owner) {
    constexpr qint64 intervalMs = 10;
    constexpr qint64 thresholdMs = 50;
    auto* heartbeat = new QTimer(&owner);
    heartbeat->setTimerType(Qt::PreciseTimer);
    heartbeat->setInterval(int(intervalMs));
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    QObject::connect(heartbeat, &QTimer::timeout, heartbeat, [since] {
        const qint64 late = since->restart() - intervalMs;
        if (late > thresholdMs) {
            std::fprintf(stderr, "probe stall %lld %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                         static_cast<long long>(late));
        }
    });
    heartbeat->start();
}

// What the window holds: every object under it, its items, its texts, the fonts those texts ask
// for (each needs a font engine of its own), and the painted items shown with the pixels they
// cover (a hidden one holds no picture).
void reportContents(QQuickWindow& window, const char* when) {
    std::unordered_set<const QObject*> seen;
    std::vector<QObject*> pending{window.contentItem()};
    std::set<std::tuple<QString, int, int, bool>> fonts;
    int items = 0;
    int texts = 0;
    int painted = 0;
    double paintedPixels = 0;
    while (!pending.empty()) {
        QObject* object = pending.back();
        pending.pop_back();
        if (object == nullptr || !seen.insert(object).second) continue;
        for (QObject* child : object->children()) pending.push_back(child);
        auto* item = qobject_cast<QQuickItem*>(object);
        if (item == nullptr) continue;
        ++items;
        for (QQuickItem* child : item->childItems()) pending.push_back(child);
        if (object->inherits("QQuickText")) {
            ++texts;
            const QFont font = object->property("font").value<QFont>();
            fonts.emplace(font.family(), font.pixelSize(), font.weight(), font.italic());
        }
        if (object->inherits("orvel::ThemedPaintedItem") && item->isVisible()) {
            ++painted;
            paintedPixels += item->width() * item->height();
        }
    }
    std::fprintf(stderr, "probe contents %lld at=%s objects=%zu items=%d texts=%d fonts=%zu painted=%d painted_kib=%.0f\n",
                 static_cast<long long>(QDateTime::currentMSecsSinceEpoch()), when, seen.size(), items, texts, fonts.size(),
                 painted, paintedPixels * 4 / 1024);
}

}  // namespace

void attachPerformanceProbe(QQuickWindow& window, OrvelStore& store, QAbstractItemModel& groups, bool watchStalls) {
    if (watchStalls) watchForStalls(window);
    auto framed = std::make_shared<bool>(false);
    // Set once the household shows: the next frame out is the first to show it.
    auto shownFrameDue = std::make_shared<std::atomic<bool>>(false);
    // Frames may be swapped on the render thread; the flags are only touched there and, for the
    // atomic one, set here.
    QObject::connect(
        &window, &QQuickWindow::frameSwapped, &window,
        [framed, shownFrameDue, &window] {
            // Counted on the window's own thread, once the frame is out.
            if (shownFrameDue->exchange(false)) {
                QMetaObject::invokeMethod(&window, [&window] { reportContents(window, "household-shown"); },
                                          Qt::QueuedConnection);
            }
            if (std::exchange(*framed, true)) return report("frame");
            report("first-frame");
            QMetaObject::invokeMethod(&window, [&window] { reportContents(window, "first-frame"); }, Qt::QueuedConnection);
        },
        Qt::DirectConnection);
    auto shown = std::make_shared<bool>(false);
    const auto checkShown = [shown, shownFrameDue, &groups] {
        if (!*shown && groups.rowCount() > 0) {
            *shown = true;
            report("household-shown");
            shownFrameDue->store(true);
        }
    };
    QObject::connect(&groups, &QAbstractItemModel::rowsInserted, &window, checkShown);
    QObject::connect(&store, &OrvelStore::stateChanged, &window, [checkShown] {
        report("state");
        checkShown();
    });
    checkShown();
}

}  // namespace orvel
