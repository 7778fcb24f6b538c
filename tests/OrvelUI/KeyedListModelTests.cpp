#include <gtest/gtest.h>

#include <map>
#include <random>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QSignalSpy>

#include "OrvelUI/common/KeyedListModel.h"

using namespace orvel;

namespace {

struct Item {
    QString id;
    int value = 0;
    const QString& key() const { return id; }
    friend bool operator==(const Item&, const Item&) = default;
};

class ItemModel : public KeyedListModel<Item> {
public:
    static constexpr int IdRole = Qt::UserRole;
    static constexpr int ValueRole = Qt::UserRole + 1;

    QHash<int, QByteArray> roleNames() const override { return {{IdRole, "id"}, {ValueRole, "value"}}; }

protected:
    QVariant roleData(const Item& item, int role) const override {
        if (role == IdRole) return item.id;
        if (role == ValueRole) return item.value;
        return {};
    }
};

// "a b:2 c" is three rows; ":2" sets the value.
std::vector<Item> items(const QString& text) {
    std::vector<Item> out;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = word.split(u':');
        out.push_back({parts[0], parts.size() > 1 ? parts[1].toInt() : 0});
    }
    return out;
}

using Occurrence = std::pair<QString, int>;

std::map<Occurrence, int> positions(const std::vector<Item>& rows) {
    std::map<Occurrence, int> out;
    std::map<QString, int> seen;
    for (int i = 0; i < int(rows.size()); ++i) out[{rows[std::size_t(i)].id, seen[rows[std::size_t(i)].id]++}] = i;
    return out;
}

struct Counts {
    int inserts = 0, removes = 0, moves = 0;
    friend bool operator==(const Counts&, const Counts&) = default;
    friend void PrintTo(const Counts& counts, std::ostream* out) {
        *out << counts.inserts << " inserts, " << counts.removes << " removes, " << counts.moves << " moves";
    }
};

// Applies `after` to a model holding `before` under the model tester and checks that the rows
// end as asked, that nothing resets, that every kept row kept its identity (its persistent
// index follows it) and that only rows whose content changed are reported changed. Answers how
// many notifications of each kind were sent.
Counts update(const std::vector<Item>& before, const std::vector<Item>& after, const std::string& what) {
    ItemModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setRows(before);

    std::map<Occurrence, QPersistentModelIndex> kept;
    for (const auto& [occurrence, row] : positions(before)) kept.emplace(occurrence, model.index(row));
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy layouts(&model, &QAbstractItemModel::layoutChanged);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removes(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy moves(&model, &QAbstractItemModel::rowsMoved);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy counts(&model, &ItemModel::countChanged);

    model.setRows(after);

    EXPECT_TRUE(model.rows() == after) << what;
    EXPECT_EQ(resets.count() + layouts.count(), 0) << what;
    EXPECT_EQ(counts.count(), before.size() == after.size() ? 0 : 1) << what;
    const auto was = positions(before);
    const auto wanted = positions(after);
    int changed = 0;
    for (const auto& [occurrence, index] : kept) {
        const auto target = wanted.find(occurrence);
        if (target == wanted.end()) {
            EXPECT_FALSE(index.isValid()) << what;
            continue;
        }
        EXPECT_EQ(index.row(), target->second) << what << " " << occurrence.first.toStdString();
        if (!(before[std::size_t(was.at(occurrence))] == after[std::size_t(target->second)])) ++changed;
    }
    // A row that landed in the wrong place and was patched up with new content shows here.
    EXPECT_EQ(changes.count(), changed) << what;
    return {int(inserts.count()), int(removes.count()), int(moves.count())};
}

}  // namespace

TEST(KeyedListModel, TransitionsUseTheFewestNotifications) {
    struct Case {
        const char* before;
        const char* after;
        Counts expected;  // inserts, removes, moves
    };
    const Case cases[] = {
        {"", "a b c", {1, 0, 0}},
        {"a b c", "", {0, 1, 0}},
        {"a b c", "a b c", {0, 0, 0}},
        {"a b c", "x a y z b c", {2, 0, 0}},
        {"a x b y z c", "a b c", {0, 2, 0}},
        {"a b c d", "d c b a", {0, 0, 3}},
        {"a b c d", "b c d a", {0, 0, 1}},
        {"a b c d", "d a b c", {0, 0, 1}},
        {"a b c d e f", "d e f a b c", {0, 0, 3}},
        {"a b c", "a b:1 c:2", {0, 0, 0}},
        {"a b:1 c", "b:2 a c", {0, 0, 1}},
        {"a b c d", "e c a f", {2, 2, 1}},
        // Repeated ids: rows are told apart by their occurrence.
        {"a a", "a:1 a", {0, 0, 0}},
        {"a b a", "b a", {0, 1, 1}},
        {"a b a", "a b", {0, 1, 0}},
        {"a b", "a b a a", {1, 0, 0}},
        {"a:1 b a:2", "a:2 b a:1", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.before) + " -> " + c.after;
        EXPECT_EQ(update(items(c.before), items(c.after), what), c.expected) << what;
    }
}

TEST(KeyedListModel, ArbitraryReorderingsEndAsAsked) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 200; ++round) {
        // A handful of ids, some repeated, some values changed between the two lists.
        auto draw = [&] {
            std::vector<Item> rows(std::size_t(random() % 12));
            for (Item& item : rows) item = {QString(QChar(u'a' + int(random() % 8))), int(random() % 2)};
            return rows;
        };
        const std::vector<Item> before = draw();
        const std::vector<Item> after = draw();
        update(before, after, "round " + std::to_string(round));
        if (::testing::Test::HasFailure()) break;
    }
}

TEST(KeyedListModel, ChangedRolesComeFromTheSubclass) {
    class NarrowModel : public ItemModel {
    protected:
        QList<int> changedRoles(const Item&, const Item&) const override { return {ValueRole}; }
    };
    NarrowModel model;
    model.setRows(items("a b"));
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    model.setRows(items("a b:3"));
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toModelIndex().row(), 1);
    EXPECT_EQ(changes.at(0).at(2).value<QList<int>>(), QList<int>{ItemModel::ValueRole});
    EXPECT_EQ(model.index(1).data(ItemModel::ValueRole).toInt(), 3);
}
