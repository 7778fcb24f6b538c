#include "OrvelUI/playback/DiscreteVolumeControl.h"

#include <algorithm>
#include <cmath>

namespace orvel {

DiscreteVolumeControl::DiscreteVolumeControl(QObject* parent) : DiscreteVolumeControl(Clock::system(), parent) {}

DiscreteVolumeControl::DiscreteVolumeControl(Clock& clock, QObject* parent) : QObject(parent), clock_(&clock) {}

void DiscreteVolumeControl::setVolume(int percent) { setVolume(DiscreteVolume::snappingPercent(percent)); }

void DiscreteVolumeControl::setVolume(DiscreteVolume volume) {
    if (volume == volume_) return;
    const int shownBefore = shownPercent();
    volume_ = volume;
    emit volumeChanged();
    settle(volume_);
    if (shownPercent() != shownBefore) emit shownChanged();
}

void DiscreteVolumeControl::setOwner(const QString& owner) {
    if (owner == owner_) return;
    const int shownBefore = shownPercent();
    owner_ = owner;
    optimistic_.reset();
    lastCommitAt_.reset();
    lastTickAt_.reset();
    emit ownerChanged();
    if (shownPercent() != shownBefore) emit shownChanged();
}

void DiscreteVolumeControl::setCompact(bool compact) {
    if (compact == compact_) return;
    compact_ = compact;
    emit compactChanged();
}

void DiscreteVolumeControl::setEditing(bool editing) {
    if (editing == editing_) return;
    editing_ = editing;
    emit editingChanged();
}

QString DiscreteVolumeControl::percentText() const { return QString::number(shownPercent()) + QLatin1Char('%'); }

QString DiscreteVolumeControl::accessibleValue() const {
    return QString::number(shownPercent()) + QLatin1String(" percent");
}

void DiscreteVolumeControl::setSliderValue(double position) {
    if (!std::isfinite(position)) return;
    const double step = std::round(std::clamp(position, 0.0, 100.0));
    commit(DiscreteVolume::snappingPercent(static_cast<std::int64_t>(step)));
}

void DiscreteVolumeControl::stepDown() {
    if (canDecrease()) commit(shown().stepped(-1));
}

void DiscreteVolumeControl::stepUp() {
    if (canIncrease()) commit(shown().stepped(1));
}

bool DiscreteVolumeControl::pressKey(int key, bool mirrored) {
    switch (key) {
    case Qt::Key_Up: stepUp(); return true;
    case Qt::Key_Down: stepDown(); return true;
    case Qt::Key_Right: mirrored ? stepDown() : stepUp(); return true;
    case Qt::Key_Left: mirrored ? stepUp() : stepDown(); return true;
    default: return false;
    }
}

void DiscreteVolumeControl::commit(DiscreteVolume value) {
    if (value == shown()) return;
    const Clock::Instant now = clock_->monotonicNow();
    optimistic_ = value;
    lastCommitAt_ = now;
    emit shownChanged();
    emit change(value.percent());
    if (!lastTickAt_ || now - *lastTickAt_ >= tickInterval) {
        lastTickAt_ = now;
        emit tick();
    }
}

void DiscreteVolumeControl::settle(DiscreteVolume owner) {
    if (editing_ || !optimistic_) return;
    if (*optimistic_ == owner) {
        optimistic_.reset();
        return;
    }
    if (!lastCommitAt_ || clock_->monotonicNow() - *lastCommitAt_ > commitHold) optimistic_.reset();
}

}  // namespace orvel
