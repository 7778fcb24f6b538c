#pragma once

// For the whole-application benchmark (bench/whole_app.sh): with ORVELLA_PERF_PROBE set, the
// application tells on standard error when things happen, one line each, "probe <event> <unix
// time in ms>": "first-frame", then every later "frame", "household-shown" when the first
// group appears, and every "state" notification of the store. An idle household should add no
// line at all. With `watchStalls` (ORVELLA_PERF_PROBE=stalls) a heartbeat on the GUI thread also
// tells every stall of its event loop over 50 ms: "probe stall <unix time in ms> <stall in ms>",
// stamped when the loop comes back. Right after the first frame and after the first frame that shows
// the household, "contents" adds what the window then holds (objects, items, texts, distinct
// fonts, painted items and the pixels they cover).

class QAbstractItemModel;
class QQuickWindow;

namespace orvel {

class OrvelStore;

void attachPerformanceProbe(QQuickWindow& window, OrvelStore& store, QAbstractItemModel& groups, bool watchStalls = false);

}  // namespace orvel
