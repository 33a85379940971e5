#pragma once
// Type to search: the matcher over a generated tree of items, key by key,
// beside a plain case-insensitive substring scan of the same captions.

namespace rzbench {

// Prints one line: "search N items: T ms per key, Rx of a plain substring scan".
void RunSearchBench(int items);

}  // namespace rzbench
