// One update of a keyed list model (the views' lists: groups, queue, presets) for 100, 1,000
// and 10,000 rows: a sweep that changes one row, a track added at the top of a queue, a queue
// played in reverse, a shuffled queue. Reports the row notifications each update sends, which
// must stay at the fewest the change needs.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include <QAbstractItemModel>

#include "OrvelUI/common/KeyedListModel.h"

using namespace orvel;

namespace {

struct Track {
    QString id;
    int plays = 0;
    const QString& key() const { return id; }
    friend bool operator==(const Track&, const Track&) = default;
};

class TrackModel : public KeyedListModel<Track> {
public:
    QHash<int, QByteArray> roleNames() const override { return {{Qt::UserRole, "id"}}; }

protected:
    QVariant roleData(const Track& track, int) const override { return track.id; }
};

std::vector<Track> tracks(int count) {
    std::vector<Track> out;
    // Every tenth track is queued twice, as a queue may hold it.
    for (int i = 0; i < count; ++i) out.push_back({QString::number(i % 10 == 9 ? i - 1 : i), 0});
    return out;
}

enum Change { oneRow, insertAtTop, reverse, shuffle };

std::vector<Track> changed(std::vector<Track> rows, Change change) {
    switch (change) {
        case oneRow: rows[rows.size() / 2].plays = 1; break;
        case insertAtTop: rows.insert(rows.begin(), Track{QStringLiteral("new"), 0}); break;
        case reverse: std::reverse(rows.begin(), rows.end()); break;
        case shuffle: std::shuffle(rows.begin(), rows.end(), std::mt19937(7)); break;
    }
    return rows;
}

void keyedUpdate(benchmark::State& state) {
    const auto before = tracks(int(state.range(0)));
    const auto after = changed(before, Change(state.range(1)));
    int notifications = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TrackModel model;
        model.setRows(before);
        int sent = 0;
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++sent; });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [&] { ++sent; });
        QObject::connect(&model, &QAbstractItemModel::rowsMoved, [&] { ++sent; });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++sent; });
        auto rows = after;
        state.ResumeTiming();
        model.setRows(std::move(rows));
        benchmark::DoNotOptimize(model.rowCount());
        state.PauseTiming();
        notifications = sent;
        state.ResumeTiming();
    }
    state.counters["notifications"] = notifications;
}

}  // namespace

BENCHMARK(keyedUpdate)
    ->ArgsProduct({{100, 1000, 10000}, {oneRow, insertAtTop, reverse, shuffle}})
    ->ArgNames({"rows", "change"})
    ->Unit(benchmark::kMicrosecond);
