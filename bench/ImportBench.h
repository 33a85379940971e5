#pragma once
// The manager's Import Folder... on a folder tree of shortcuts to programs
// that exist, beside a bare loop that loads and resolves the same shortcut
// files with IShellLinkW.

#include <string>

#include "BenchChild.h"

namespace rzbench {

// Generates links shortcuts, times the import in runs child processes and
// prints one line; progress goes to stderr.
void RunImportBench(int links, int runs, const std::string& scratch);

// Child side: the program started on the empty store in dataFolder, then the
// bare loop and the import of source. bare, ours (ms); links (shortcuts the
// loop read), added (items the import added).
RunFigures ImportRun(const std::string& dataFolder, const std::string& source);

}  // namespace rzbench
