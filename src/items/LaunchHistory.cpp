#include "items/LaunchHistory.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "core/ErrorLog.h"
#include "platform/FileIO.h"

namespace rz {

namespace {

constexpr double kHalfLifeMinutes = 30.0 * 24 * 60;
constexpr char kHeader[] =
    "# Razaveza launches: weight in thousandths, minute of the last launch, path, parameters, caption\r\n";
// Whole thousandths in the file: reading and writing them needs no floating-point text routines.
constexpr double kUnit = 1000;
constexpr int64_t kMaxWeight = int64_t(1) << 40;
// Between the parts of a key: no path, parameter or caption holds it.
constexpr char kKeySeparator = '\0';

int64_t SystemMinute() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<int64_t>(ticks / 600000000ull);
}

// A field holds no tab or line break: those and "%" are written as "%XX".
std::string Escaped(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == '%' || u == 0x7F) {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescape(std::string_view field, std::string& out) {
    out.clear();
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size()) return false;
        const int hi = HexValue(field[i + 1]), lo = HexValue(field[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

template <class T>
bool ParseNumber(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Five fields or nothing: a line that does not read is left out.
bool ParseLine(std::string_view line, int64_t& weight, int64_t& minute, std::string& key) {
    std::string_view fields[5];
    for (int i = 0; i < 5; ++i) {
        const size_t tab = line.find('\t');
        if ((tab == std::string_view::npos) != (i == 4)) return false;
        fields[i] = line.substr(0, tab);
        line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    }
    if (!ParseNumber(fields[0], weight) || weight <= 0 || weight > kMaxWeight) return false;
    if (!ParseNumber(fields[1], minute) || minute < 0) return false;
    std::string part;
    key.clear();
    for (int i = 2; i < 5; ++i) {
        if (!Unescape(fields[i], part)) return false;
        if (i == 2 && part.empty()) return false;
        if (i > 2) key += kKeySeparator;
        key += part;
    }
    return true;
}

}  // namespace

uint16_t BoostOfScore(double score) {
    if (!(score > 0)) return 0;
    return static_cast<uint16_t>(std::min(65535.0, std::round(std::log2(1 + score) * 4096)));
}

LaunchHistory::LaunchHistory()
    : clock(&SystemMinute), reportFailure([](const std::string& m, unsigned long code) { LogTolerated(m, code); }) {}

void LaunchHistory::SetFile(const std::string& path) {
    if (path == file_) return;
    file_ = path;
    loaded_ = false;
}

std::string LaunchHistory::Key(const std::string& path, const std::string& params, const std::string& caption) {
    std::string key = path;
    key += kKeySeparator;
    key += params;
    key += kKeySeparator;
    key += caption;
    return key;
}

double LaunchHistory::Decayed(const Launches& l) const {
    const double age = static_cast<double>(std::max<int64_t>(0, clock() - l.minute));
    return l.weight * std::exp2(-age / kHalfLifeMinutes);
}

void LaunchHistory::Load() const {
    if (loaded_) return;
    loaded_ = true;
    ++version_;
    items_.clear();
    paths_.clear();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    std::string bytes;
    if (file_.empty() || !::GetFileAttributesExW(WidePath(file_).c_str(), GetFileExInfoStandard, &data)) return;
    // Far more than the program ever writes: not ours, and rebuilt at the next launch.
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow > kMaxFileBytes || !ReadWholeFile(file_, bytes)) return;
    std::string key;
    for (size_t at = 0; at < bytes.size();) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string_view line(bytes.data() + at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Launches l;
        int64_t thousandths = 0;
        if (line.empty() || line[0] == '#' || !ParseLine(line, thousandths, l.minute, key)) continue;
        l.weight = static_cast<double>(thousandths) / kUnit;
        items_[key] = l;
    }
    // A file written by hand may hold more than is kept: the strongest stay.
    if (items_.size() > kMaxItems) {
        std::vector<std::pair<double, std::string>> ranked;
        for (const auto& [k, l] : items_) ranked.emplace_back(-Decayed(l), k);
        std::nth_element(ranked.begin(), ranked.begin() + kMaxItems, ranked.end());
        for (size_t i = kMaxItems; i < ranked.size(); ++i) items_.erase(ranked[i].second);
    }
    for (const auto& entry : items_) paths_.insert(entry.first.substr(0, entry.first.find(kKeySeparator)));
}

void LaunchHistory::Record(const std::string& path, const std::string& params, const std::string& caption) {
    if (path.empty()) return;
    Load();
    const std::string key = Key(path, params, caption);
    Launches& l = items_[key];
    l.weight = Decayed(l) + 1;
    l.minute = clock();
    paths_.insert(path);
    ++version_;
    // The weakest item makes room, never the one just launched.
    if (items_.size() > kMaxItems) {
        auto weakest = items_.end();
        for (auto it = items_.begin(); it != items_.end(); ++it)
            if (it->first != key && (weakest == items_.end() || Decayed(it->second) < Decayed(weakest->second)))
                weakest = it;
        items_.erase(weakest);
    }
    Save();
}

double LaunchHistory::Score(const std::string& path, const std::string& params, const std::string& caption) const {
    Load();
    const auto it = items_.find(Key(path, params, caption));
    return it == items_.end() ? 0 : Decayed(it->second);
}

bool LaunchHistory::KnowsPath(const std::string& path) const {
    Load();
    return paths_.count(path) > 0;
}

size_t LaunchHistory::Size() const {
    Load();
    return items_.size();
}

void LaunchHistory::Save() {
    if (file_.empty()) return;
    std::string bytes = kHeader;
    for (const auto& [key, l] : items_) {
        const size_t a = key.find(kKeySeparator), b = key.find(kKeySeparator, a + 1);
        const double thousandths = std::clamp(std::round(l.weight * kUnit), 1.0, static_cast<double>(kMaxWeight));
        bytes += std::to_string(static_cast<int64_t>(thousandths));
        bytes += '\t';
        bytes += std::to_string(l.minute);
        bytes += '\t';
        bytes += Escaped(key.substr(0, a)) + '\t' + Escaped(key.substr(a + 1, b - a - 1)) + '\t' +
                 Escaped(key.substr(b + 1)) + "\r\n";
    }
    if (ReplaceWholeFile(file_, bytes)) {
        failureReported_ = false;
        return;
    }
    // Once per run of failures: the counts stay in memory for the next try.
    const unsigned long code = ::GetLastError();
    if (!failureReported_ && reportFailure) reportFailure("Could not write the launch counts to " + file_, code);
    failureReported_ = true;
}

}  // namespace rz
