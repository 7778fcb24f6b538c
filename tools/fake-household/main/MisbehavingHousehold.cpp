#include "MisbehavingHousehold.h"

#include <cstdio>
#include <string>
#include <vector>

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
constexpr std::size_t roomNameLength = 200;
constexpr char32_t combiningMarksPerLetter = 39;

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
    // Built in code points so every name is exactly roomNameLength of them, as the plain twin.
    std::u32string name;
    auto fill = [&](const std::vector<std::u32string>& chunks) {
        for (std::size_t i = 0; name.size() < roomNameLength; ++i) {
            const std::u32string& chunk = chunks[i % chunks.size()];
            // A chunk that would overrun the length gives way to single emoji or letters.
            if (name.size() + chunk.size() > roomNameLength) {
                name += chunks.front().front();
                continue;
            }
            name += chunk;
        }
    };
    const char32_t offset = char32_t(index);
    switch (index % 4) {
    case 0: {
        // Emoji of every kind, each name its own: single pictographs, joiner families, skin
        // tones, flags and keycaps.
        std::vector<std::u32string> chunks;
        for (char32_t c = 0; c < 48; ++c) chunks.push_back(std::u32string(1, char32_t(0x1F300) + (offset * 7 + c * 5) % 0x140));
        chunks.push_back(U"\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466");
        chunks.push_back(U"\U0001F469\U0001F3FD\u200D\U0001F680");
        chunks.push_back(U"\U0001F1EF\U0001F1F5");
        chunks.push_back(U"\U0001F1E7\U0001F1F7");
        chunks.push_back(U"#\uFE0F\u20E3");
        fill(chunks);
        break;
    }
    case 1:
        // Arabic and Hebrew: "the big living room", "bedroom".
        fill({U"\u063A\u0631\u0641\u0629 \u0627\u0644\u0645\u0639\u064A\u0634\u0629 \u0627\u0644\u0643\u0628\u064A\u0631\u0629 ",
              U"\u05D7\u05D3\u05E8 \u05E9\u05D9\u05E0\u05D4 "});
        break;
    case 2: {
        // Letters under floods of combining marks.
        std::vector<std::u32string> chunks;
        for (char32_t letter : std::u32string(U"Zalgo")) {
            std::u32string flood(1, letter);
            for (char32_t mark = 0; mark < combiningMarksPerLetter; ++mark) flood += char32_t(0x0300) + (mark * 7 + offset) % 0x70;
            chunks.push_back(flood);
        }
        fill(chunks);
        break;
    }
    default:
        // All of it side by side.
        fill({U"\U0001F3B5", U"\u05D7\u05D3\u05E8 ", U"e\u0301\u0316\u0317\u0318", U"\U0001F468\u200D\U0001F469\u200D\U0001F467",
              U"\u0627\u0644\u0643\u0628\u064A\u0631\u0629 ", U"\U0001F1EB\U0001F1F7"});
        break;
    }
    return QString::fromStdU32String(name);
}

QString plainRoomName(int index) {
    return repeatedTo(QStringLiteral("%1 The Room With The Name That Goes On ").arg(index + 1), qsizetype(roomNameLength));
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
