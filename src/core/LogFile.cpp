#include "core/LogFile.h"

#include <algorithm>

#include "platform/FileIO.h"

namespace rz {

namespace {
// A run that logs ever new messages keeps only so many in mind.
constexpr size_t kRemembered = 4096;

// The newest half of a log, from the first line that starts in it.
void KeepNewestHalf(const std::string& path, unsigned long long size) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return;
    size_t from = bytes.find("\r\n", static_cast<size_t>(size / 2));
    from = from == std::string::npos ? bytes.size() : from + 2;
    // Cut or not, the line still has to be appended.
    ReplaceWholeFile(path, bytes.substr(from));
}
}  // namespace

bool TLogRepeats::First(const std::string& message) {
    auto found = counts_.find(message);
    if (found != counts_.end()) {
        ++found->second;
        return false;
    }
    if (counts_.size() >= kRemembered) {
        counts_.clear();
        order_.clear();
    }
    counts_.emplace(message, 0);
    order_.push_back(message);
    return true;
}

bool TLogRepeats::WouldForget(const std::string& message) const {
    return counts_.size() >= kRemembered && !counts_.count(message);
}

void TLogRepeats::Forget(const std::string& message) {
    if (counts_.erase(message)) order_.erase(std::find(order_.begin(), order_.end(), message));
}

std::vector<std::pair<std::string, unsigned>> TLogRepeats::TakeCounts() {
    std::vector<std::pair<std::string, unsigned>> taken;
    for (const std::string& message : order_) {
        unsigned& count = counts_[message];
        if (count == 0) continue;
        taken.emplace_back(message, count);
        count = 0;
    }
    return taken;
}

bool AppendToLog(const std::string& path, const std::string& bytes) {
    unsigned long long size = 0;
    if (FileSizeOf(path, size) && size > kLogLimit) KeepNewestHalf(path, size);
    return AppendToFile(path, bytes);
}

}  // namespace rz
