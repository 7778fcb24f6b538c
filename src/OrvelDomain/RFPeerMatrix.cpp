#include "RFPeerMatrix.h"

#include <algorithm>
#include <string>

#include "HashCombine.h"

namespace orvel {

namespace {

constexpr std::int64_t moderateFrom = 20;
constexpr std::int64_t strongFrom = 35;

template <class V, class Encode>
Json flatPairs(const std::map<SpeakerPair, V>& map, Encode encode) {
    Json out = Json::array();
    for (const auto& [pair, value] : map) {
        out.push_back(pair.toJson());
        out.push_back(encode(value));
    }
    return out;
}

template <class Decode>
auto readFlatPairs(const Json& value, Decode decode)
    -> Decoded<std::map<SpeakerPair, typename decltype(decode(std::declval<const Json&>()))::value_type>> {
    using V = typename decltype(decode(std::declval<const Json&>()))::value_type;
    ORVEL_TRY(const Json* array, json::expectArray(value));
    if (array->size() % 2 != 0) {
        return std::unexpected(DecodingError::dataCorrupted(
            "Expected collection of key-value pairs; encountered odd-length array instead."));
    }
    std::map<SpeakerPair, V> out;
    for (std::size_t i = 0; i < array->size(); i += 2) {
        auto pair = SpeakerPair::fromJson((*array)[i]);
        if (!pair) return std::unexpected(pair.error().at(std::to_string(i)));
        auto element = decode((*array)[i + 1]);
        if (!element) return std::unexpected(element.error().at(std::to_string(i + 1)));
        out.insert_or_assign(std::move(*pair), std::move(*element));
    }
    return out;
}

Decoded<RFPeerMatrix::Band> decodeBand(const Json& value) {
    ORVEL_TRY(std::int64_t raw, json::decodeInteger(value));
    if (auto band = RFPeerMatrix::bandWithRawValue(raw)) return *band;
    return std::unexpected(DecodingError::dataCorrupted(
        "Cannot initialize Band from invalid Int value " + std::to_string(raw)));
}

Decoded<std::int64_t> decodeStrength(const Json& value) { return json::decodeInteger(value); }

// Calls `visit(low row, high row, value)` for every entry of `map` whose two speakers both
// have a row. One merge walk over the sorted entries and the sorted rows: an entry is found by
// `band`/`strength` only under its canonical pair, so an entry stored the other way round
// (possible in a read matrix) is skipped, as a lookup would miss it.
template <class V, class Visit>
void walkRows(const std::map<SpeakerPair, V>& map,
              const std::vector<std::pair<const SpeakerUUID*, std::size_t>>& rows, Visit visit) {
    const std::size_t k = rows.size();
    std::size_t low = 0;
    std::size_t high = 0;
    const SpeakerUUID* lastLow = nullptr;
    for (const auto& [pair, value] : map) {
        // Three-way comparisons: one pass over the characters per step.
        std::strong_ordering lowOrder = std::strong_ordering::less;
        while (low < k && (lowOrder = *rows[low].first <=> pair.low) < 0) ++low;
        if (low == k) return;
        if (lowOrder != 0) continue;
        if (lastLow != rows[low].first) {
            lastLow = rows[low].first;
            high = low;  // a canonical pair's high speaker never sorts before its low one
        }
        std::strong_ordering highOrder = std::strong_ordering::less;
        while (high < k && (highOrder = *rows[high].first <=> pair.high) < 0) ++high;
        if (high == k || highOrder != 0) continue;
        visit(rows[low].second, rows[high].second, value);
    }
}

}  // namespace

RFPeerMatrix::Index::Index(const RFPeerMatrix& matrix, const std::vector<SpeakerUUID>& ids, Readings readings) {
    std::map<SpeakerUUID, std::size_t> rowOf;
    slots_.reserve(ids.size());
    for (const auto& id : ids) slots_.push_back(rowOf.try_emplace(id, rowOf.size()).first->second);
    distinct_ = rowOf.size();
    std::vector<std::pair<const SpeakerUUID*, std::size_t>> rows;
    rows.reserve(distinct_);
    for (const auto& [id, row] : rowOf) rows.emplace_back(&id, row);

    bands_.assign(distinct_ * distinct_, 0);
    strengths_.assign(distinct_ * distinct_, 0);
    hasStrength_.assign(distinct_ * distinct_, 0);
    if (readings != Readings::strengths) {
        walkRows(matrix.pairs().bands, rows, [&](std::size_t a, std::size_t b, Band band) {
            bands_[a * distinct_ + b] = bands_[b * distinct_ + a] = static_cast<std::uint8_t>(band);
        });
    }
    if (readings != Readings::bands) {
        walkRows(matrix.pairs().strengths, rows, [&](std::size_t a, std::size_t b, std::int64_t strength) {
            strengths_[a * distinct_ + b] = strengths_[b * distinct_ + a] = strength;
            hasStrength_[a * distinct_ + b] = hasStrength_[b * distinct_ + a] = 1;
        });
    }
}

std::optional<RFPeerMatrix::Band> RFPeerMatrix::bandWithRawValue(std::int64_t rawValue) {
    switch (rawValue) {
        case 1: return Band::weak;
        case 2: return Band::moderate;
        case 3: return Band::strong;
        default: return std::nullopt;
    }
}

RFPeerMatrix::Band RFPeerMatrix::bandForStrength(std::int64_t strength) {
    if (strength >= strongFrom) return Band::strong;
    if (strength >= moderateFrom) return Band::moderate;
    return Band::weak;
}

const RFPeerMatrix& RFPeerMatrix::empty() {
    static const RFPeerMatrix instance;
    return instance;
}

const RFPeerMatrix::Pairs& RFPeerMatrix::pairs() const {
    static const Pairs none;
    return pairs_ ? *pairs_ : none;
}

RFPeerMatrix::Pairs& RFPeerMatrix::ownPairs() {
    if (!pairs_) {
        pairs_ = std::make_shared<Pairs>();
    } else if (pairs_.use_count() > 1) {
        pairs_ = std::make_shared<Pairs>(*pairs_);
    }
    return *pairs_;
}

std::optional<RFPeerMatrix::Band> RFPeerMatrix::band(const SpeakerUUID& a, const SpeakerUUID& b) const {
    const auto& bands = pairs().bands;
    auto it = bands.find(SpeakerPair::of(a, b));
    if (it == bands.end()) return std::nullopt;
    return it->second;
}

std::optional<std::int64_t> RFPeerMatrix::strength(const SpeakerUUID& a, const SpeakerUUID& b) const {
    const auto& strengths = pairs().strengths;
    auto it = strengths.find(SpeakerPair::of(a, b));
    if (it == strengths.end()) return std::nullopt;
    return it->second;
}

void RFPeerMatrix::record(const SpeakerUUID& a, const SpeakerUUID& b, std::int64_t from, std::int64_t to) {
    if (a == b) return;
    std::int64_t strongest = std::max(from, to);
    if (strongest < 1) return;  // nothing heard in either direction
    SpeakerPair pair = SpeakerPair::of(a, b);
    Band heard = bandForStrength(strongest);
    Pairs& own = ownPairs();
    auto [band, newBand] = own.bands.try_emplace(pair, heard);
    if (!newBand) band->second = std::max(band->second, heard);
    auto [strength, newStrength] = own.strengths.try_emplace(std::move(pair), strongest);
    if (!newStrength) strength->second = std::max(strength->second, strongest);
}

Json RFPeerMatrix::toJson() const {
    return Json{
        {"bands", flatPairs(pairs().bands, [](Band band) { return Json(static_cast<int>(band)); })},
        {"strengths", flatPairs(pairs().strengths, [](std::int64_t strength) { return Json(strength); })},
    };
}

Decoded<RFPeerMatrix> RFPeerMatrix::fromJson(const Json& value) {
    Pairs read;
    ORVEL_TRY(read.bands, json::required(value, "bands", [](const Json& v) { return readFlatPairs(v, decodeBand); }));
    ORVEL_TRY(read.strengths,
              json::required(value, "strengths", [](const Json& v) { return readFlatPairs(v, decodeStrength); }));
    RFPeerMatrix out;
    if (!read.bands.empty() || !read.strengths.empty()) out.pairs_ = std::make_shared<Pairs>(std::move(read));
    return out;
}

std::size_t RFPeerMatrix::hashValue() const {
    const auto& [bands, strengths] = pairs();
    std::size_t seed = 0;
    hashCombine(seed, bands.size());
    for (const auto& [pair, band] : bands) {
        hashCombine(seed, pair);
        hashCombine(seed, band);
    }
    hashCombine(seed, strengths.size());
    for (const auto& [pair, strength] : strengths) {
        hashCombine(seed, pair);
        hashCombine(seed, strength);
    }
    return seed;
}

}  // namespace orvel
