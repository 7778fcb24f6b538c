#include "OrvellaApp/PerformanceProbe.h"

#include <cstdio>
#include <memory>

#include <QAbstractItemModel>
#include <QDateTime>
#include <QQuickWindow>

#include "OrvelStore/OrvelStore.h"

namespace orvel {

namespace {

void report(const char* event) {
    std::fprintf(stderr, "probe %s %lld\n", event, static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
}

}  // namespace

void attachPerformanceProbe(QQuickWindow& window, OrvelStore& store, QAbstractItemModel& groups) {
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
