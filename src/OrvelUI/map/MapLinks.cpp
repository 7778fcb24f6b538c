#include "MapLinks.h"

#include <algorithm>
#include <cmath>

namespace orvel::MapLinks {

bool animates(const std::vector<SonosGroup>& hubGroups, bool reduceMotion) {
    if (reduceMotion) return false;
    return std::any_of(hubGroups.begin(), hubGroups.end(),
                       [](const SonosGroup& group) { return group.playback.isPlaying(); });
}

double phase(double secondsSinceReference) {
    if (!std::isfinite(secondsSinceReference)) return 0;
    double remainder = std::fmod(secondsSinceReference, highlightPeriod);
    if (remainder < 0) remainder += highlightPeriod;
    const double value = remainder / highlightPeriod;
    // A negative remainder a hair below 0 wraps to exactly the period: that is the start.
    return value < 1 ? value : 0;
}

std::vector<AcousticLink> linkLayer(const std::vector<SonosGroup>& hubGroups,
                                    const std::map<GroupID, std::vector<SpeakerTether>>& tethersByGroup,
                                    std::optional<double> layerPhase) {
    std::vector<AcousticLink> links;
    for (const auto& group : hubGroups) {
        const auto entry = tethersByGroup.find(group.id);
        if (entry == tethersByGroup.end() || entry->second.empty()) continue;
        AcousticLink link{group.id, {}, {}, {}, {}, group.playback.isPlaying() ? layerPhase : std::nullopt};
        for (const auto& tether : entry->second) {
            link.points.push_back(tether.segment.start);
            link.points.push_back(tether.segment.end);
            link.segments.push_back(tether.segment);
            link.speakers.push_back(tether.speakerID);
            link.opacities.push_back(tether.passesBehindHub ? behindHubOpacity : 1.0);
        }
        links.push_back(std::move(link));
    }
    return links;
}

namespace {

Point mix(Point a, Point b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

AcousticCurveSegment mix(const AcousticCurveSegment& a, const AcousticCurveSegment& b, double t) {
    return {mix(a.start, b.start, t), mix(a.control, b.control, t), mix(a.end, b.end, t)};
}

void append(AcousticLink& link, const AcousticCurveSegment& segment, const SpeakerUUID& speaker, double opacity) {
    link.points.push_back(segment.start);
    link.points.push_back(segment.end);
    link.segments.push_back(segment);
    link.speakers.push_back(speaker);
    link.opacities.push_back(opacity);
}

const AcousticLink* linkOf(const std::vector<AcousticLink>& links, const GroupID& group) {
    for (const auto& link : links) {
        if (link.group == group) return &link;
    }
    return nullptr;
}

std::optional<std::size_t> tetherOf(const AcousticLink* link, const SpeakerUUID& speaker) {
    if (!link) return std::nullopt;
    for (std::size_t i = 0; i < link->speakers.size() && i < link->segments.size(); ++i) {
        if (link->speakers[i] == speaker) return i;
    }
    return std::nullopt;
}

}  // namespace

std::vector<AcousticLink> glide(const std::vector<AcousticLink>& from, const std::vector<AcousticLink>& to,
                                double progress) {
    const double t = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 1.0;
    std::vector<AcousticLink> out;
    out.reserve(to.size() + from.size());
    for (const auto& next : to) {
        AcousticLink link{next.group, {}, {}, {}, {}, next.phase};
        const AcousticLink* before = linkOf(from, next.group);
        for (std::size_t i = 0; i < next.segments.size() && i < next.speakers.size(); ++i) {
            const double opacity = i < next.opacities.size() ? next.opacities[i] : 1.0;
            if (const auto old = tetherOf(before, next.speakers[i])) {
                const double oldOpacity = *old < before->opacities.size() ? before->opacities[*old] : 1.0;
                append(link, mix(before->segments[*old], next.segments[i], t), next.speakers[i],
                       oldOpacity + (opacity - oldOpacity) * t);
            } else {
                append(link, next.segments[i], next.speakers[i], opacity * t);
            }
        }
        // The rooms that left this group fade out where they were.
        if (before) {
            for (std::size_t i = 0; i < before->segments.size() && i < before->speakers.size(); ++i) {
                if (tetherOf(&next, before->speakers[i])) continue;
                const double opacity = i < before->opacities.size() ? before->opacities[i] : 1.0;
                append(link, before->segments[i], before->speakers[i], opacity * (1 - t));
            }
        }
        out.push_back(std::move(link));
    }
    for (const auto& gone : from) {
        if (linkOf(to, gone.group)) continue;
        AcousticLink link{gone.group, {}, {}, {}, {}, std::nullopt};
        for (std::size_t i = 0; i < gone.segments.size() && i < gone.speakers.size(); ++i) {
            const double opacity = i < gone.opacities.size() ? gone.opacities[i] : 1.0;
            append(link, gone.segments[i], gone.speakers[i], opacity * (1 - t));
        }
        out.push_back(std::move(link));
    }
    return out;
}

double glideProgress(double secondsSinceStart) {
    if (!(secondsSinceStart > 0)) return 0;
    const double t = std::min(secondsSinceStart / glideDuration, 1.0);
    const double rest = 1 - t;
    return 1 - rest * rest * rest;
}

}  // namespace orvel::MapLinks
