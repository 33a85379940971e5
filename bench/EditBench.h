#pragma once
// The manager's history on a big tree: what a typed letter of a name costs
// as a step, taking it back and doing it again, beside one copy of the whole
// tree - what a history that kept a copy per step would pay each time.

namespace rzbench {

// Prints one line: "edits N items: T ms per typed letter, ... a copy of the tree C ms".
void RunEditBench(int items);

}  // namespace rzbench
