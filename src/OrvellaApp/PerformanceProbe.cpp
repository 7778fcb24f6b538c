#include "OrvellaApp/PerformanceProbe.h"

#include <cstdio>
#include <memory>

#include <QAbstractItemModel>
#include <QDateTime>
#include <QElapsedTimer>
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

}  // namespace

void attachPerformanceProbe(QQuickWindow& window, OrvelStore& store, QAbstractItemModel& groups, bool watchStalls) {
    if (watchStalls) watchForStalls(window);
    auto framed = std::make_shared<bool>(false);
    // Frames may be swapped on the render thread; the flag is only touched there.
    QObject::connect(&window, &QQuickWindow::frameSwapped, &window,
                     [framed] { report(std::exchange(*framed, true) ? "frame" : "first-frame"); }, Qt::DirectConnection);
    auto shown = std::make_shared<bool>(false);
    const auto checkShown = [shown, &groups] {
        if (!*shown && groups.rowCount() > 0) {
            *shown = true;
            report("household-shown");
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
