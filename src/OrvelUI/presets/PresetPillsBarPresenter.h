#pragma once

// The preset bar's presenter: which pills show, which are marked active, the pills' menus, the
// rename dialog's state, and every click turned into one of the store's intents. It keeps no
// copy of the presets beyond the rows on screen and notifies only when its slice changed.
//
// In the desktop's header row the pills that do not fit its width move to the overflow list
// (`fitPresetRow`), so every preset and the add button stay in reach; inline the row scrolls
// and every pill is in `pills`.

#include <optional>

#include <QHash>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/PresetID.h"
#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/presets/PresetBarRules.h"
#include "OrvelUI/presets/PresetPillListModel.h"
#include "OrvelUI/presets/PresetRowFit.h"

namespace orvel {

class PresetPillsBarPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(orvel::ViewStore* store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(bool showsEverywhere READ showsEverywhere NOTIFY barChanged)
    Q_PROPERTY(bool everywhereActive READ everywhereActive NOTIFY barChanged)
    Q_PROPERTY(bool hasPresets READ hasPresets NOTIFY barChanged)
    Q_PROPERTY(orvel::PresetPillListModel* pills READ pills CONSTANT)
    // The presets the header row has no room for, in list order.
    Q_PROPERTY(orvel::PresetPillListModel* overflowPills READ overflowPills CONSTANT)
    Q_PROPERTY(bool showsOverflow READ showsOverflow NOTIFY fitChanged)
    // The smaller toolbar pills.
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY fitChanged)
    Q_PROPERTY(double maximumPillWidth READ maximumPillWidth NOTIFY fitChanged)
    Q_PROPERTY(double spacing READ spacing CONSTANT)
    // The header row's width for the pills, the overflow and add buttons; negative (the
    // default) when the row scrolls instead.
    Q_PROPERTY(double availableWidth READ availableWidth WRITE setAvailableWidth NOTIFY fitChanged)
    Q_PROPERTY(double everywhereWidth READ everywhereWidth WRITE setEverywhereWidth NOTIFY fitChanged)
    Q_PROPERTY(double overflowButtonWidth READ overflowButtonWidth WRITE setOverflowButtonWidth NOTIFY fitChanged)
    Q_PROPERTY(double addButtonWidth READ addButtonWidth WRITE setAddButtonWidth NOTIFY fitChanged)
    Q_PROPERTY(bool renaming READ renaming NOTIFY renamingChanged)
    Q_PROPERTY(QString renameText READ renameText WRITE setRenameText NOTIFY renameTextChanged)

public:
    explicit PresetPillsBarPresenter(QObject* parent = nullptr);

    ViewStore* store() const { return store_.data(); }
    void setStore(ViewStore* store);

    bool showsEverywhere() const { return showsEverywhere_; }
    bool everywhereActive() const { return everywhereActive_; }
    bool hasPresets() const { return !rows_.empty(); }
    PresetPillListModel* pills() { return &pills_; }
    PresetPillListModel* overflowPills() { return &overflowPills_; }
    bool showsOverflow() const { return overflowPills_.rowCount() > 0; }
    bool compact() const { return compact_; }
    void setCompact(bool compact);
    double maximumPillWidth() const { return maximumPresetPillWidth(compact_); }
    double availableWidth() const { return widths_.available; }
    void setAvailableWidth(double width);
    double everywhereWidth() const { return widths_.everywhere; }
    void setEverywhereWidth(double width);
    double overflowButtonWidth() const { return widths_.overflowButton; }
    void setOverflowButtonWidth(double width);
    double addButtonWidth() const { return widths_.addButton; }
    void setAddButtonWidth(double width);
    // The gap between neighbours in the row.
    static constexpr double pillSpacing = 6;
    static double spacing() { return pillSpacing; }
    bool renaming() const { return renaming_.has_value(); }
    QString renameText() const { return renameText_; }
    void setRenameText(const QString& text);

    // A toggle: dissolves the one group when everything is grouped, else groups everything.
    Q_INVOKABLE void clickEverywhere();
    Q_INVOKABLE void clickPreset(const QString& presetId);
    // Built when a menu opens, from the state at that moment.
    Q_INVOKABLE QVariantList everywhereMenu() const;
    Q_INVOKABLE QVariantList presetMenu(const QString& presetId) const;
    // Runs a menu entry; an entry that names a vanished preset or group does nothing.
    Q_INVOKABLE void choose(const QVariantMap& entry);
    // The rename dialog's "Save" (the store trims and refuses a blank name) and its closing.
    Q_INVOKABLE void saveRename();
    Q_INVOKABLE void endRename();

    void run(const PresetMenuEntry& entry);

signals:
    void storeChanged();
    void barChanged();
    void renamingChanged();
    void renameTextChanged();
    void fitChanged();

private:
    void refresh();
    // Splits the rows between the row and the overflow list.
    void fit();
    void setWidth(double& field, double width);
    // A pill's width for its shown name: the text's advance and padding, at most the maximum.
    double pillWidth(const QString& name);
    std::optional<PresetPill> presetNamed(const QString& presetId) const;

    QPointer<ViewStore> store_;
    QMetaObject::Connection watch_;
    bool showsEverywhere_ = false;
    bool everywhereActive_ = false;
    bool hadPresets_ = false;
    bool compact_ = false;
    PresetRowWidths widths_{-1, pillSpacing, 0, 0, 0};
    std::vector<PresetPillRow> rows_;
    QHash<QString, double> measured_;
    PresetPillListModel pills_;
    PresetPillListModel overflowPills_;
    std::optional<PresetID> renaming_;
    QString renameText_;
};

}  // namespace orvel
