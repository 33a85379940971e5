#pragma once
// What the user launched, how often and how lately: an item launched
// recently or often ranks higher in the search. Items are known by path,
// parameters and caption, so a reload or a save does not forget them. The
// counts live in one small text file in the data folder, read on first use
// and written after each launch; a file that is missing or unreadable starts
// the counts afresh, and a write that fails is logged and tried again at the
// next launch.

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace rz {

class LaunchHistory {
public:
    LaunchHistory();

    // Where the counts are kept; empty keeps them in memory only. Another
    // file than before is read on next use.
    void SetFile(const std::string& path);
    const std::string& File() const { return file_; }

    // A launch of the item now, counted and written to the file.
    void Record(const std::string& path, const std::string& params, const std::string& caption);
    // 0 for an item never launched; each launch adds 1, which halves every
    // 30 days.
    double Score(const std::string& path, const std::string& params, const std::string& caption) const;
    bool KnowsPath(const std::string& path) const;
    size_t Size() const;
    // Changes with every launch and every read of the file.
    unsigned Version() const { return version_; }

    // Minutes since 1601 (the system clock by default).
    std::function<int64_t()> clock;
    // A write that failed: message and system error code (the error log by default).
    std::function<void(const std::string& message, unsigned long code)> reportFailure;

    static constexpr size_t kMaxItems = 1000;
    static constexpr size_t kMaxFileBytes = 4u << 20;

private:
    struct Launches {
        double weight = 0;
        int64_t minute = 0;
    };
    void Load() const;
    void Save();
    double Decayed(const Launches& l) const;
    static std::string Key(const std::string& path, const std::string& params, const std::string& caption);

    std::string file_;
    mutable bool loaded_ = false;
    mutable unsigned version_ = 0;
    mutable std::unordered_map<std::string, Launches> items_;
    mutable std::unordered_set<std::string> paths_;
    bool failureReported_ = false;
};

// A score as the search index's boost: more launches count for less and less.
uint16_t BoostOfScore(double score);

}  // namespace rz
