#pragma once

// How close every pair of speakers is by radio: a proximity band and the strongest reading
// behind it. A pair only ever grows stronger within one matrix; the household controller starts
// a fresh matrix when it wants readings to age out.
//
// JSON: {"bands": [pair, band, pair, band, ...], "strengths": [pair, strength, ...]}. The maps are
// flat arrays because their key is a record, not a text; readers rely on no order.

#include <cstddef>
#include <compare>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "Json.h"
#include "SpeakerPair.h"
#include "SpeakerUUID.h"

namespace orvel {

class RFPeerMatrix {
public:
    enum class Band : std::uint8_t { weak = 1, moderate = 2, strong = 3 };

    // The band with that raw value (1, 2 or 3), nullopt for any other integer.
    static std::optional<Band> bandWithRawValue(std::int64_t rawValue);
    // The band of a positive reading: below 20 weak, below 35 moderate, else strong.
    static Band bandForStrength(std::int64_t strength);

    // The same as `empty()`, so the matrix can sit in records that are built member by member.
    RFPeerMatrix() = default;
    static const RFPeerMatrix& empty();

    // Nullopt when the pair was never recorded; the order of the two speakers never matters.
    std::optional<Band> band(const SpeakerUUID& a, const SpeakerUUID& b) const;
    std::optional<std::int64_t> strength(const SpeakerUUID& a, const SpeakerUUID& b) const;

    // Folds one reading of the link between a and b, `from` and `to` being its two directions.
    // A speaker with itself, or a reading without a positive value, is ignored.
    void record(const SpeakerUUID& a, const SpeakerUUID& b, std::int64_t from, std::int64_t to);

    Json toJson() const;
    // Strict: an odd-length array, a band other than 1, 2 or 3, or a bad identifier fails the
    // whole read. Pairs are taken as written (not re-ordered, bands not re-derived); a pair
    // listed twice keeps its later value.
    static Decoded<RFPeerMatrix> fromJson(const Json& value);

    std::size_t hashValue() const;

    // The matrix read for one list of speakers, looked up by position in that list: the same
    // answers as `band` and `strength` for the speakers at those positions, without a search
    // per lookup. Built once where a layout asks about every pair.
    class Index {
    public:
        // Which readings the index holds; one left out reads as never recorded.
        enum class Readings : std::uint8_t { bands, strengths, both };

        Index(const RFPeerMatrix& matrix, const std::vector<SpeakerUUID>& ids, Readings readings = Readings::both);

        std::optional<Band> band(std::size_t a, std::size_t b) const {
            std::uint8_t raw = bands_[cell(a, b)];
            if (raw == 0) return std::nullopt;
            return static_cast<Band>(raw);
        }
        std::optional<std::int64_t> strength(std::size_t a, std::size_t b) const {
            std::size_t c = cell(a, b);
            if (!hasStrength_[c]) return std::nullopt;
            return strengths_[c];
        }
        std::size_t size() const { return slots_.size(); }
        // The row of the speaker at `position`, in 0..<rowCount(): one per distinct speaker.
        std::size_t row(std::size_t position) const { return slots_[position]; }
        std::size_t rowCount() const { return distinct_; }

    private:
        std::size_t cell(std::size_t a, std::size_t b) const { return slots_[a] * distinct_ + slots_[b]; }

        // A speaker listed twice shares one row, so `slots_` maps positions to rows.
        std::vector<std::size_t> slots_;
        std::size_t distinct_ = 0;
        std::vector<std::uint8_t> bands_;  // 0 where no pair was recorded
        std::vector<std::int64_t> strengths_;
        std::vector<std::uint8_t> hasStrength_;
    };

    friend bool operator==(const RFPeerMatrix& a, const RFPeerMatrix& b) {
        return a.pairs_ == b.pairs_ || a.pairs() == b.pairs();
    }

private:
    struct Pairs {
        std::map<SpeakerPair, Band> bands;
        std::map<SpeakerPair, std::int64_t> strengths;
        friend bool operator==(const Pairs&, const Pairs&) = default;
    };
    const Pairs& pairs() const;
    // The pairs to change: this matrix's own, copied first when another matrix shares them.
    Pairs& ownPairs();

    // Shared by copies until one of them changes: a matrix goes with every snapshot and state
    // that holds it, and at tens of speakers it holds thousands of pairs. Null when empty.
    std::shared_ptr<Pairs> pairs_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::RFPeerMatrix> {
    std::size_t operator()(const orvel::RFPeerMatrix& matrix) const noexcept { return matrix.hashValue(); }
};
