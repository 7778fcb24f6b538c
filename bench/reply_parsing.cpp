// Parsing replies built to be expensive, each within the reply size cap. Every reply is parsed
// on the event loop, so each must end (in a result or a refusal) in well under 50 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "SonosProtocolBoundary/HostileDocuments.h"
#include "SonosProtocolBoundary/TopologyService.h"
#include "SonosProtocolBoundary/XMLNode.h"

using namespace orvel;

namespace {

void parseXML(benchmark::State& state, const std::string& document) {
    for (auto _ : state) {
        auto parsed = XMLNode::parse(document);
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}

void BM_AttributesOnOneElement(benchmark::State& state) {
    parseXML(state, hostile::deviceDescriptionWithAttributes(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_AttributesOnOneElement)->Arg(100)->Arg(60'000)->Arg(300'000)->Unit(benchmark::kMillisecond);

void BM_AttributesSpreadOut(benchmark::State& state) {
    parseXML(state, hostile::deviceDescriptionWithSpreadAttributes(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_AttributesSpreadOut)->Arg(40'000)->Arg(50'000)->Arg(300'000)->Unit(benchmark::kMillisecond);

void BM_NamespaceDeclarations(benchmark::State& state) {
    parseXML(state, hostile::nestedNamespaceDeclarations(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_NamespaceDeclarations)->Arg(40)->Arg(10'000)->Unit(benchmark::kMillisecond);

void BM_ManySmallElements(benchmark::State& state) {
    parseXML(state, hostile::manySmallElements(4 * 1024 * 1024 - 1024));
}
BENCHMARK(BM_ManySmallElements)->Unit(benchmark::kMillisecond);

void BM_ManyTextElements(benchmark::State& state) {
    parseXML(state, hostile::manyTextElements(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_ManyTextElements)->Arg(10'000)->Arg(20'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_LongText(benchmark::State& state) {
    parseXML(state, "<a>" + std::string(4 * 1024 * 1024 - 7, 'y') + "</a>");
}
BENCHMARK(BM_LongText)->Unit(benchmark::kMillisecond);

// Read as U+FFFD, a third of the cap fills it, and anything more is refused as it passes it.
void BM_ControlCharacters(benchmark::State& state) {
    parseXML(state, hostile::controlCharacters(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_ControlCharacters)->Arg(1'398'000)->Arg(4 * 1024 * 1024)->Unit(benchmark::kMillisecond);

void BM_ZoneGroupStateSatellites(benchmark::State& state) {
    const std::string document = hostile::zoneGroupStateWithSatellites(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto parsed = TopologyService::parseZoneGroupStateDocument(document);
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ZoneGroupStateSatellites)->Arg(32)->Arg(64)->Arg(1'000)->Arg(30'000)->Unit(benchmark::kMillisecond);

}  // namespace
