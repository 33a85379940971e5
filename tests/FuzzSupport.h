#pragma once
// What the fuzz tests share: their seed and size, hostile text, and a record
// of the places outside the test's folder that nothing may change.

#include <map>
#include <random>
#include <string>
#include <vector>

namespace rztest {

// A fixed seed and a count that runs in seconds; RZ_FUZZ_SEED and
// RZ_FUZZ_COUNT in the environment ask for other ones.
struct FuzzPlan {
    unsigned seed;
    int count;
};
FuzzPlan PlanFuzz(int defaultCount);

// Text that list and settings files should survive: blanks, delimiters,
// NUL, CR, 0xFF, path climbing, device names, huge runs.
std::string HostileText(std::mt19937& rng);
// Some bytes of text changed, dropped, doubled or cut off.
std::string Mutated(const std::string& text, std::mt19937& rng);
int Pick(std::mt19937& rng, int below);

// Path -> size, time and (for small files) content of the files a folder
// holds, and the names of its folders, recursively or not; the path "except"
// (relative, with trailing "\") is left out.
using FolderState = std::map<std::string, std::string>;
FolderState StateOf(const std::string& folder, bool recursive, const std::string& except = {});

// Relative path -> content of every file below folder ("<dir>" for folders).
FolderState ContentOf(const std::string& folder);
// The first path where two states differ, or empty when they are equal.
std::string FirstDifference(const FolderState& a, const FolderState& b);

// The places a program run by a test could touch by mistake: the folders
// around and above the test folder, the Windows folder (where relative
// profile names land), the current folder and the drive root.
class OutsideWatch {
public:
    // testFolder ends with "\"; everything below it is the test's own.
    explicit OutsideWatch(const std::string& testFolder);
    // The places that differ from when the watch began, empty if none.
    std::vector<std::string> Changed() const;

private:
    std::vector<std::pair<std::string, std::string>> places_;  // folder, left-out child
    std::vector<FolderState> before_;
};

}  // namespace rztest
