#include "OrvelUI/presets/PresetPillsBarPresenter.h"

#include <algorithm>

#include "OrvelUI/presets/PresetMenuEntries.h"

namespace orvel {

PresetPillsBarPresenter::PresetPillsBarPresenter(QObject* parent) : QObject(parent), pills_(this) {}

void PresetPillsBarPresenter::setStore(ViewStore* store) {
    if (store_ == store) return;
    disconnect(watch_);
    store_ = store;
    if (store) watch_ = connect(store, &ViewStore::stateChanged, this, &PresetPillsBarPresenter::refresh);
    refresh();
    emit storeChanged();
}

void PresetPillsBarPresenter::refresh() {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    std::vector<PresetPillRow> rows;
    bool shows = false;
    bool active = false;
    if (store) {
        const OrvelState& state = store->state();
        shows = orvel::showsEverywhere(state.speakers());
        active = isEverywhereActive(state.groups(), state.speakers());
        for (const PresetPill& preset : state.presets()) {
            rows.push_back({QString::fromStdString(preset.id().rawValue()), QString::fromStdString(preset.name()),
                            state.isActive(preset)});
        }
    }
    pills_.setRows(std::move(rows));
    const bool changed = shows != showsEverywhere_ || active != everywhereActive_ || hasPresets() != hadPresets_;
    showsEverywhere_ = shows;
    everywhereActive_ = active;
    hadPresets_ = hasPresets();
    if (changed) emit barChanged();
}

std::optional<PresetPill> PresetPillsBarPresenter::presetNamed(const QString& presetId) const {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    if (!store) return std::nullopt;
    const auto& presets = store->state().presets();
    const auto found = std::ranges::find_if(
        presets, [&](const PresetPill& preset) { return QString::fromStdString(preset.id().rawValue()) == presetId; });
    if (found == presets.end()) return std::nullopt;
    return *found;
}

void PresetPillsBarPresenter::setRenameText(const QString& text) {
    if (text == renameText_) return;
    renameText_ = text;
    emit renameTextChanged();
}

void PresetPillsBarPresenter::clickEverywhere() {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    if (!store) return;
    const OrvelState& state = store->state();
    if (isEverywhereActive(state.groups(), state.speakers()) && !state.groups().empty()) {
        store->dissolveGroup(state.groups().front().id);
    } else {
        store->groupEverywhere();
    }
}

void PresetPillsBarPresenter::clickPreset(const QString& presetId) {
    const std::optional<PresetPill> preset = presetNamed(presetId);
    if (preset && store_ && store_->store()) store_->store()->applyPreset(*preset);
}

QVariantList PresetPillsBarPresenter::everywhereMenu() const {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    if (!store) return {};
    return menuVariant(orvel::everywhereMenu(store->state().groups(), store->state().speakers()));
}

QVariantList PresetPillsBarPresenter::presetMenu(const QString& presetId) const {
    const std::optional<PresetPill> preset = presetNamed(presetId);
    if (!preset) return {};
    return menuVariant(orvel::presetMenu(*preset, store_->store()->state().groups()));
}

void PresetPillsBarPresenter::choose(const QVariantMap& entry) {
    if (const std::optional<PresetMenuEntry> parsed = menuEntryFrom(entry)) run(*parsed);
}

void PresetPillsBarPresenter::run(const PresetMenuEntry& entry) {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    if (!store) return;
    using Action = PresetMenuEntry::Action;
    const std::optional<PresetPill> preset =
        entry.preset ? presetNamed(QString::fromStdString(entry.preset->rawValue())) : std::nullopt;
    switch (entry.action) {
        case Action::groupEverywhere: store->groupEverywhere(); break;
        case Action::dissolveGroup:
            if (entry.group) store->dissolveGroup(*entry.group);
            break;
        case Action::apply:
            if (preset) store->applyPreset(*preset);
            break;
        case Action::rename:
            if (!preset) break;
            // The field opens with the current name.
            setRenameText(QString::fromStdString(preset->name()));
            renaming_ = preset->id();
            emit renamingChanged();
            break;
        case Action::update:
            if (preset && entry.group) store->updatePreset(preset->id(), *entry.group);
            break;
        case Action::remove:
            if (preset) store->deletePreset(preset->id());
            break;
        case Action::divider:
        case Action::submenu: break;
    }
}

void PresetPillsBarPresenter::saveRename() {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    if (store && renaming_) store->renamePreset(*renaming_, renameText_.toStdString());
    endRename();
}

void PresetPillsBarPresenter::endRename() {
    if (!renaming_) return;
    renaming_.reset();
    emit renamingChanged();
}

}  // namespace orvel
