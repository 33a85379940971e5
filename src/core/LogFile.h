#pragma once
// errorlog.txt as a file that keeps itself small: identical lines of one
// run are counted rather than repeated, and past about a megabyte the
// oldest half of the file goes.

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace rz {

inline constexpr unsigned long long kLogLimit = 1u << 20;

// The messages one run has logged: the first of each is written, the ones
// that come again are only counted.
class TLogRepeats {
public:
    // True the first time a message comes; later ones are counted.
    bool First(const std::string& message);
    // Whether this message makes room by forgetting every count: they are
    // to be written before it comes.
    bool WouldForget(const std::string& message) const;
    // A message that could not be written after all comes as new next time.
    void Forget(const std::string& message);
    // The messages that came again and how often, in the order they first
    // came; their counts start again from nothing.
    std::vector<std::pair<std::string, unsigned>> TakeCounts();

private:
    std::unordered_map<std::string, unsigned> counts_;
    std::vector<std::string> order_;
};

// Appends the bytes through the checked file layer, first cutting a file
// past kLogLimit to its newest half (whole lines). False with the system's
// reason in GetLastError when the bytes could not be appended.
bool AppendToLog(const std::string& path, const std::string& bytes);

}  // namespace rz
