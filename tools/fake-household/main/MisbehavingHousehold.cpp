#include "MisbehavingHousehold.h"

#include <cstdio>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>

#include "fakes/FakeDocuments.h"
#include "fakes/FakeHousehold.h"

namespace orvel::fakes {

namespace {

constexpr int manyPresets = 1'000;
constexpr int largePresets = 100;
constexpr qsizetype largeNameLength = 40'000;
constexpr int emojiInName = 20'000;
constexpr int fewPresets = 5;
constexpr qsizetype longNameLength = 200;
constexpr int combiningMarksPerLetter = 60;

QString presetId(int n) {
    return QStringLiteral("00000000-0000-4000-8000-%1").arg(n, 12, 16, QLatin1Char('0')).toUpper();
}

// The n-th preset: a speaker leading the next one (alone when there is only one).
QJsonObject nthPreset(int n, const QString& name, const QStringList& ids) {
    const QString& coordinator = ids[n % ids.size()];
    QStringList members;
    if (ids.size() > 1) members << ids[(n + 1) % ids.size()];
    return presetEntry(presetId(n), name, coordinator, members);
}

QString repeatedTo(const QString& text, qsizetype length) {
    return text.repeated(length / text.size() + 1).left(length);
}

long long unixMs() { return static_cast<long long>(QDateTime::currentMSecsSinceEpoch()); }

}  // namespace

std::optional<PresetTrouble> presetTroubleNamed(const QString& name) {
    if (name == QLatin1String("many")) return PresetTrouble::many;
    if (name == QLatin1String("large")) return PresetTrouble::large;
    if (name == QLatin1String("emoji")) return PresetTrouble::emoji;
    if (name == QLatin1String("malformed")) return PresetTrouble::malformed;
    if (name == QLatin1String("long-names")) return PresetTrouble::longNames;
    return std::nullopt;
}

QString troublesomePresets(PresetTrouble kind, const QStringList& speakerIds) {
    QJsonArray presets;
    switch (kind) {
    case PresetTrouble::many:
        for (int n = 0; n < manyPresets; ++n) presets.append(nthPreset(n, QStringLiteral("Preset %1").arg(n + 1), speakerIds));
        break;
    case PresetTrouble::large:
        for (int n = 0; n < largePresets; ++n) {
            const QString name = QStringLiteral("%1 ").arg(n + 1) + repeatedTo(QStringLiteral("Evening in the house "), largeNameLength);
            presets.append(nthPreset(n, name, speakerIds));
        }
        break;
    case PresetTrouble::emoji:
        for (int n = 0; n < fewPresets; ++n) {
            // U+1F3B5 MUSICAL NOTE, a character outside the basic plane.
            const QString name = n == 1 ? QString::fromUcs4(U"\U0001F3B5").repeated(emojiInName) : QStringLiteral("Preset %1").arg(n + 1);
            presets.append(nthPreset(n, name, speakerIds));
        }
        break;
    case PresetTrouble::malformed:
        for (int n = 0; n < fewPresets; ++n) {
            if (n == 2) {
                // A coordinator that is no speaker identifier and no member list.
                presets.append(QJsonObject{{QStringLiteral("id"), QJsonObject{{QStringLiteral("rawValue"), presetId(n)}}},
                                           {QStringLiteral("name"), QStringLiteral("Broken")},
                                           {QStringLiteral("coordinatorUUID"), 42}});
                continue;
            }
            presets.append(nthPreset(n, QStringLiteral("Preset %1").arg(n + 1), speakerIds));
        }
        break;
    case PresetTrouble::longNames: {
        const char* const names[] = {"The Whole Ground Floor",        "Kitchen and Dining Room",
                                     "Upstairs Bedrooms and Study",   "Living Room with the Patio",
                                     "Morning Coffee in the Kitchen", "Everyone in the Garden Room",
                                     "The Whole Ground Floor and Den", "Bathroom, Hall and Bedroom Two"};
        int n = 0;
        for (const char* name : names) presets.append(nthPreset(n++, QString::fromUtf8(name), speakerIds));
        break;
    }
    }
    return QString::fromUtf8(QJsonDocument(presets).toJson(QJsonDocument::Compact));
}

QString hostileRoomName(int index) {
    switch (index % 4) {
    case 0:
        return repeatedTo(QStringLiteral("%1 The Room With The Name That Goes On ").arg(index + 1), longNameLength);
    case 1:
        // Arabic and Hebrew: "the big living room", "bedroom".
        return QStringLiteral("غرفة المعيشة الكبيرة %1 חדר שינה").arg(index + 1);
    case 2: {
        QString flood;
        for (QChar letter : QStringLiteral("Zalgo%1").arg(index + 1)) {
            flood += letter;
            for (int mark = 0; mark < combiningMarksPerLetter; ++mark) flood += QChar(0x0300 + (mark * 7 + index) % 0x70);
        }
        return flood;
    }
    default:
        return QString(1 + index % 5, QLatin1Char(' '));
    }
}

void schedulePause(FakeHousehold& household, const QString& speaker, std::chrono::milliseconds delay) {
    const QString coordinator = household.model().coordinatorOf(speaker);
    household.model().editPlayback(coordinator).transportState = QStringLiteral("PLAYING");
    QTimer::singleShot(delay, &household, [target = QPointer<FakeHousehold>(&household), coordinator] {
        if (!target) return;
        target->model().pause(coordinator);
        std::fprintf(stderr, "paused %lld\n", unixMs());
        std::fflush(stderr);
    });
}

void logRequests(FakeHousehold& household) {
    QObject::connect(&household, &FakeHousehold::requestReceived, &household, [](const FakeRequest& request) {
        std::fprintf(stderr, "request %s %s %lld\n", qPrintable(request.address.toString()), qPrintable(request.target()),
                     unixMs());
    });
}

}  // namespace orvel::fakes
