#pragma once

// The one volume control of the views: minus, slider, plus and percentage. It reports each new
// step through `change` and shows the step it committed, not its owner's value, until the
// owner catches up or the hold runs out, so a late reading from the speakers cannot make the
// slider jump back. Haptic ticks are throttled so a fast drag does not pile them up.
//
// What it committed belongs to its owner (a group or a speaker): one control is rebound from
// group to group in the dock, and a step committed for one must never show for, or be stepped
// from by, the next.

#include <optional>

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/DiscreteVolume.h"
#include "Support/Clock.h"

namespace orvel {

class DiscreteVolumeControl : public QObject {
    Q_OBJECT
    QML_ELEMENT

    // The owner's value, from the store's state.
    Q_PROPERTY(int volume READ volume WRITE setVolume NOTIFY volumeChanged)
    // Who the volume belongs to; a new owner starts the control afresh.
    Q_PROPERTY(QString owner READ owner WRITE setOwner NOTIFY ownerChanged)
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY compactChanged)
    Q_PROPERTY(bool editing READ isEditing WRITE setEditing NOTIFY editingChanged)
    Q_PROPERTY(int shownPercent READ shownPercent NOTIFY shownChanged)
    Q_PROPERTY(QString percentText READ percentText NOTIFY shownChanged)
    Q_PROPERTY(QString accessibleValue READ accessibleValue NOTIFY shownChanged)
    Q_PROPERTY(bool canDecrease READ canDecrease NOTIFY shownChanged)
    Q_PROPERTY(bool canIncrease READ canIncrease NOTIFY shownChanged)

public:
    // The hold after a commit during which a differing owner value does not move the control.
    static constexpr std::chrono::milliseconds commitHold{1200};
    // The shortest gap between two haptic ticks.
    static constexpr std::chrono::milliseconds tickInterval{55};

    explicit DiscreteVolumeControl(QObject* parent = nullptr);
    DiscreteVolumeControl(Clock& clock, QObject* parent = nullptr);

    int volume() const { return volume_.percent(); }
    // A new owner value settles the optimistic one (not while the user drags).
    void setVolume(int percent);
    void setVolume(DiscreteVolume volume);
    QString owner() const { return owner_; }
    // Drops the committed value and both dates, as a control made for the new owner would.
    void setOwner(const QString& owner);
    bool compact() const { return compact_; }
    void setCompact(bool compact);
    bool isEditing() const { return editing_; }
    // The slider's editing callback. Only a new owner value settles the committed one: the end
    // of a drag leaves it be, so a slider held still does not snap back on release.
    void setEditing(bool editing);

    DiscreteVolume shown() const { return optimistic_.value_or(volume_); }
    int shownPercent() const { return shown().percent(); }
    QString percentText() const;
    QString accessibleValue() const;
    bool canDecrease() const { return shownPercent() > 0; }
    bool canIncrease() const { return shownPercent() < 100; }

    // A slider position: rounded to the nearest step, halves away from zero. Positions outside
    // 0...100 count as the nearest end; a non-finite position is ignored.
    Q_INVOKABLE void setSliderValue(double position);
    // The minus and plus buttons.
    Q_INVOKABLE void stepDown();
    Q_INVOKABLE void stepUp();
    // An arrow key on the focused slider: up and towards the slider's maximum step up, down and
    // towards its minimum step down, one whole step a press, as the buttons do. Mirrored, the
    // slider's maximum lies to the left. False for any other key, which the slider leaves be.
    Q_INVOKABLE bool pressKey(int key, bool mirrored = false);
    // The only way a value leaves the control; a value equal to the shown one does nothing.
    void commit(DiscreteVolume value);

signals:
    void volumeChanged();
    void ownerChanged();
    void compactChanged();
    void editingChanged();
    void shownChanged();
    // A newly committed step, once per step.
    void change(int percent);
    // One haptic tick.
    void tick();

private:
    void settle(DiscreteVolume owner);

    Clock* clock_;
    DiscreteVolume volume_;
    QString owner_;
    bool compact_ = false;
    bool editing_ = false;
    std::optional<DiscreteVolume> optimistic_;
    // Absent: the distant past.
    std::optional<Clock::Instant> lastCommitAt_;
    std::optional<Clock::Instant> lastTickAt_;
};

}  // namespace orvel
