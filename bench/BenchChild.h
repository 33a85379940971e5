#pragma once
// One measured run in a fresh process: a warm-up load of a small store, then
// the timed load with the memory figures around it, the look-ups and the
// write. A fresh process per run keeps heap freed by earlier runs out of the
// memory figures and makes the runs independent.

#include <map>
#include <string>

namespace rzbench {

struct ChildRun {
    std::string kind;        // "ours", "base", "menu", "footprint" or "import"
    std::string dataFolder;  // ends with "\"; footprint: the empty store
    std::string warmFolder;  // ends with "\"; footprint: the store it loads; import: the folder imported
    std::string scratch;     // ends with "\"; gets the write output and the result file
    int lookups = 0;         // menu and footprint: how many openings
    unsigned seed = 1;
};

// Keys: load, prepare, pass1, pass2, lookup, lookupBase, write (ms); links or
// entries (counts); wsBefore, privBefore, wsAfter, privAfter (MB).
using RunFigures = std::map<std::string, double>;
// The figure under key, or -1.
double FigureOf(const RunFigures& f, const char* key);

// Parent side: runs the child and reads what it reports; empty on failure.
RunFigures RunChild(const ChildRun& run);
// Child side: argv as RunChild passes it, from "--child" on.
int ChildMain(int argc, char** argv);

}  // namespace rzbench
