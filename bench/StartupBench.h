#pragma once
// Whole-process start-up: the real program started on generated stores and
// timed until its item manager window carries its title (the store is then
// loaded, the tree and the menu built, the tray icon up), beside a baseline
// process that reads the same list files and does the same platform work.

#include <string>
#include <vector>

namespace rzbench {

struct StartupOptions {
    std::vector<int> sizes{530, 5530, 20530, 50530};
    // "mixed" (generated programs that do not exist), "programs" (every
    // program item one of a few of the system's), "distinct" (1,000 program
    // files of their own, each with its icon).
    std::vector<std::string> kinds{"mixed", "programs", "distinct"};
    int runs = 3;
    std::string program;  // the program to start; empty: the one built beside this benchmark
};

// Prints the start-up table to stdout; progress goes to stderr.
void RunStartupBench(const StartupOptions& opt, const std::string& scratch);

}  // namespace rzbench
