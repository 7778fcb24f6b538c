#pragma once

// The preset bar's presenter: which pills show, which are marked active, the pills' menus, the
// rename dialog's state, and every click turned into one of the store's intents. It keeps no
// copy of the presets beyond the rows on screen and notifies only when its slice changed.

#include <optional>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/PresetID.h"
#include "OrvelUI/presets/PresetBarRules.h"
#include "OrvelUI/presets/PresetPillListModel.h"
#include "OrvelUI/presets/ViewStore.h"

namespace orvel {

class PresetPillsBarPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(orvel::ViewStore* store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(bool showsEverywhere READ showsEverywhere NOTIFY barChanged)
    Q_PROPERTY(bool everywhereActive READ everywhereActive NOTIFY barChanged)
    Q_PROPERTY(bool hasPresets READ hasPresets NOTIFY barChanged)
    Q_PROPERTY(orvel::PresetPillListModel* pills READ pills CONSTANT)
    Q_PROPERTY(bool renaming READ renaming NOTIFY renamingChanged)
    Q_PROPERTY(QString renameText READ renameText WRITE setRenameText NOTIFY renameTextChanged)

public:
    explicit PresetPillsBarPresenter(QObject* parent = nullptr);

    ViewStore* store() const { return store_.data(); }
    void setStore(ViewStore* store);

    bool showsEverywhere() const { return showsEverywhere_; }
    bool everywhereActive() const { return everywhereActive_; }
    bool hasPresets() const { return pills_.rowCount() > 0; }
    PresetPillListModel* pills() { return &pills_; }
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

private:
    void refresh();
    std::optional<PresetPill> presetNamed(const QString& presetId) const;

    QPointer<ViewStore> store_;
    QMetaObject::Connection watch_;
    bool showsEverywhere_ = false;
    bool everywhereActive_ = false;
    bool hadPresets_ = false;
    PresetPillListModel pills_;
    std::optional<PresetID> renaming_;
    QString renameText_;
};

}  // namespace orvel
