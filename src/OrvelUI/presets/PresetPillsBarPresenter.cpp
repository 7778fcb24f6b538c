#include "OrvelUI/presets/PresetPillsBarPresenter.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QGuiApplication>
#include <QTextLayout>

#include "OrvelUI/common/ShownText.h"
#include "OrvelUI/presets/PresetMenuEntries.h"

namespace orvel {

namespace {

// Enough names for every pill a row shows several times over; past it the memo starts again.
constexpr qsizetype measuredNamesLimit = 512;

// The width Qt Quick lays the text out at: its text uses design metrics, which can come out a
// pixel wider than the font's hinted advance, enough to cut a name that fits.
double drawnAdvance(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    double width = 0;
    if (line.isValid()) {
        line.setNumColumns(int(text.size()));
        width = line.naturalTextWidth();
    }
    layout.endLayout();
    return width;
}

}  // namespace

PresetPillsBarPresenter::PresetPillsBarPresenter(QObject* parent)
    : QObject(parent), pills_(this), overflowPills_(this) {
    pills_.setMeasure([this](const QString& name) { return pillWidth(name); });
}

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
    rows.reserve(store ? store->state().presets().size() : 0);
    bool shows = false;
    bool active = false;
    if (store) {
        const OrvelState& state = store->state();
        shows = orvel::showsEverywhere(state.speakers());
        active = isEverywhereActive(state.groups(), state.speakers());
        for (const PresetPill& preset : state.presets()) {
            rows.push_back({QString::fromStdString(preset.id().rawValue()), shownText(preset.name()),
                            state.isActive(preset)});
        }
    }
    rows_ = std::move(rows);
    fit();
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

void PresetPillsBarPresenter::fit() {
    std::size_t shown = rows_.size();
    if (widths_.available >= 0) {
        shown = fitPresetRow(widths_, rows_.size(), [this](std::size_t i) { return pillWidth(rows_[i].name); }).shownPills;
    }
    const bool overflowBefore = showsOverflow();
    pills_.setRows({rows_.begin(), rows_.begin() + std::ptrdiff_t(shown)});
    overflowPills_.setRows({rows_.begin() + std::ptrdiff_t(shown), rows_.end()});
    if (showsOverflow() != overflowBefore) emit fitChanged();
}

double PresetPillsBarPresenter::pillWidth(const QString& name) {
    if (const auto found = measured_.constFind(name); found != measured_.constEnd()) return *found;
    // The pill's text as it draws it: the application font, bold, at the pill's text size.
    QFont font = QGuiApplication::font();
    font.setPixelSize(compact_ ? 10 : 11);
    font.setBold(true);
    const double padding = compact_ ? 11 : 14;
    const double width = std::min(maximumPresetPillWidth(compact_),
                                  std::ceil(drawnAdvance(name, font)) + 2 * padding);
    if (measured_.size() >= measuredNamesLimit) measured_.clear();
    measured_.insert(name, width);
    return width;
}

void PresetPillsBarPresenter::setCompact(bool compact) {
    if (compact == compact_) return;
    compact_ = compact;
    measured_.clear();
    pills_.setMeasure([this](const QString& name) { return pillWidth(name); });
    emit fitChanged();
    fit();
}

void PresetPillsBarPresenter::setWidth(double& field, double width) {
    if (!std::isfinite(width) || width == field) return;
    field = width;
    emit fitChanged();
    fit();
}

void PresetPillsBarPresenter::setAvailableWidth(double width) { setWidth(widths_.available, width); }
void PresetPillsBarPresenter::setEverywhereWidth(double width) { setWidth(widths_.everywhere, width); }
void PresetPillsBarPresenter::setOverflowButtonWidth(double width) { setWidth(widths_.overflowButton, width); }
void PresetPillsBarPresenter::setAddButtonWidth(double width) { setWidth(widths_.addButton, width); }

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
