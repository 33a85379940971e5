#pragma once
// What the user launched, how often and how lately: an item launched
// recently or often ranks higher in the search. Items are known by path,
// parameters and caption, so a reload or a save does not forget them. The
// counts live in one small text file in the data folder that copies of the
// program on other computers share through a sync service: it is read on
// first use and again when it changed, and each launch merges into what the
// file holds at that moment (counts combine by item and time), so nobody's
// launches are lost. A file that is missing or unreadable starts the counts
// afresh; one far too large keeps its strongest items; a write that fails is
// logged and tried again at the next launch.

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
    // The file changed from elsewhere: read again at next use.
    void FileChanged() {
        loaded_ = false;
        ++version_;
    }

    // Minutes since 1601 (the system clock by default).
    std::function<int64_t()> clock;
    // A write that failed: message and system error code (the error log by default).
    std::function<void(const std::string& message, unsigned long code)> reportFailure;
    // A file read only in part, far too large (the error log by default).
    std::function<void(const std::string& message, unsigned long code)> reportTrimmed;

    static constexpr size_t kMaxItems = 1000;
    static constexpr size_t kMaxFileBytes = 4u << 20;

private:
    struct Launches {
        double weight = 0;
        int64_t minute = 0;
    };
    using Table = std::unordered_map<std::string, Launches>;
    void Load() const;
    void Save(const std::string& launched);
    // The file's items, at most kMaxItems of the strongest; empty when unreadable.
    Table ReadFile() const;
    void KeepStrongest(Table& table, size_t count, const std::string& spared) const;
    // The items as the file has them, this run's unwritten launches added.
    Table Merged(Table table) const;
    void Take(Table table) const;
    static Launches Combined(const Launches& a, const Launches& b);
    double Decayed(const Launches& l) const;
    static std::string Key(const std::string& path, const std::string& params, const std::string& caption);

    std::string file_;
    mutable bool loaded_ = false;
    mutable unsigned version_ = 0;
    mutable Table items_;
    // Launches of this run that no write has put in the file yet.
    Table unwritten_;
    mutable std::unordered_set<std::string> paths_;
    bool failureReported_ = false;
};

// A score as the search index's boost: more launches count for less and less.
uint16_t BoostOfScore(double score);

}  // namespace rz
