#pragma once
// Parent side of the menu case and of the footprint: generates their
// stores, runs each in a child process and prints their tables.

#include <string>

namespace rzbench {

struct MenuBenchOptions {
    bool menu = true;
    bool footprint = true;
    int opens = 25;             // openings per variant in the menu case
    int footprintOpens = 1000;  // openings between the two object counts
    int footprintItems = 10000;
};

// scratch ends with "\"; the stores made there are removed again.
void RunMenuBench(const MenuBenchOptions& opt, const std::string& scratch);

}  // namespace rzbench
