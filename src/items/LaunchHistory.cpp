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
    : clock(&SystemMinute),
      reportFailure([](const std::string& m, unsigned long code) { LogTolerated(m, code); }),
      reportTrimmed([](const std::string& m, unsigned long code) { LogTolerated(m, code); }) {}

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

LaunchHistory::Launches LaunchHistory::Combined(const Launches& a, const Launches& b) {
    const int64_t minute = std::max(a.minute, b.minute);
    auto at = [minute](const Launches& l) {
        return l.weight * std::exp2(-static_cast<double>(minute - l.minute) / kHalfLifeMinutes);
    };
    return Launches{at(a) + at(b), minute};
}

void LaunchHistory::KeepStrongest(Table& table, size_t count, const std::string& spared) const {
    if (table.size() <= count) return;
    std::vector<std::pair<double, std::string>> ranked;
    ranked.reserve(table.size());
    for (const auto& [k, l] : table) ranked.emplace_back(k == spared ? -HUGE_VAL : -Decayed(l), k);
    std::nth_element(ranked.begin(), ranked.begin() + count, ranked.end());
    for (size_t i = count; i < ranked.size(); ++i) table.erase(ranked[i].second);
}

LaunchHistory::Table LaunchHistory::ReadFile() const {
    Table table;
    unsigned long long size = 0;
    if (file_.empty() || !FileSizeOf(file_, size)) return table;
    // Read a piece at a time: a file of any size costs no more memory than
    // twice the items kept.
    std::string carry, key;
    size_t lines = 0;
    auto takeLine = [&](std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Launches l;
        int64_t thousandths = 0;
        if (line.empty() || line[0] == '#' || !ParseLine(line, thousandths, l.minute, key)) return;
        ++lines;
        l.weight = static_cast<double>(thousandths) / kUnit;
        auto [at, added] = table.emplace(key, l);
        if (!added) at->second = Combined(at->second, l);
        if (table.size() >= 2 * kMaxItems) KeepStrongest(table, kMaxItems, {});
    };
    const bool read = ReadFileInPieces(file_, [&](std::string_view piece) {
        for (size_t at = 0; at < piece.size();) {
            const size_t end = piece.find('\n', at);
            if (end == std::string_view::npos) {
                // A line far longer than any the program writes is none of its lines.
                if (carry.size() < kMaxFileBytes) carry.append(piece.substr(at));
                return;
            }
            if (carry.empty()) {
                takeLine(piece.substr(at, end - at));
            } else {
                carry.append(piece.substr(at, end - at));
                takeLine(carry);
                carry.clear();
            }
            at = end + 1;
        }
    });
    if (!read) return Table();
    if (!carry.empty()) takeLine(carry);
    KeepStrongest(table, kMaxItems, {});
    if (size > kMaxFileBytes && reportTrimmed)
        reportTrimmed("The launch counts in " + file_ + " are far larger than the program writes; the " +
                          std::to_string(table.size()) + " strongest of " + std::to_string(lines) + " are kept",
                      ERROR_FILE_TOO_LARGE);
    return table;
}

LaunchHistory::Table LaunchHistory::Merged(Table table) const {
    for (const auto& [key, l] : unwritten_) {
        auto [at, added] = table.emplace(key, l);
        if (!added) at->second = Combined(at->second, l);
    }
    return table;
}

void LaunchHistory::Take(Table table) const {
    items_ = std::move(table);
    paths_.clear();
    for (const auto& entry : items_) paths_.insert(entry.first.substr(0, entry.first.find(kKeySeparator)));
    ++version_;
}

void LaunchHistory::Load() const {
    if (loaded_) return;
    loaded_ = true;
    Table merged = Merged(ReadFile());
    KeepStrongest(merged, kMaxItems, {});
    Take(std::move(merged));
}

void LaunchHistory::Record(const std::string& path, const std::string& params, const std::string& caption) {
    if (path.empty()) return;
    Load();
    const std::string key = Key(path, params, caption);
    const Launches now{1, clock()};
    auto [at, added] = unwritten_.emplace(key, now);
    if (!added) at->second = Combined(at->second, now);
    if (file_.empty()) {
        // Nothing to share with: the counts are what this run made.
        Table table = items_;
        auto [in, fresh] = table.emplace(key, now);
        if (!fresh) in->second = Combined(in->second, now);
        unwritten_.clear();
        KeepStrongest(table, kMaxItems, key);
        return Take(std::move(table));
    }
    Save(key);
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

void LaunchHistory::Save(const std::string& launched) {
    // Read, merged and written again when another copy wrote in between.
    constexpr int kTries = 3;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        FileStamp before;
        const bool existed = StampOf(file_, before);
        Table merged = Merged(ReadFile());
        // The weakest items make room, never the one just launched.
        KeepStrongest(merged, kMaxItems, launched);
        std::string bytes = kHeader;
        for (const auto& [key, l] : merged) {
            const size_t a = key.find(kKeySeparator), b = key.find(kKeySeparator, a + 1);
            const double thousandths = std::clamp(std::round(l.weight * kUnit), 1.0, static_cast<double>(kMaxWeight));
            bytes += std::to_string(static_cast<int64_t>(thousandths));
            bytes += '\t';
            bytes += std::to_string(l.minute);
            bytes += '\t';
            bytes += Escaped(key.substr(0, a)) + '\t' + Escaped(key.substr(a + 1, b - a - 1)) + '\t' +
                     Escaped(key.substr(b + 1)) + "\r\n";
        }
        const auto unchanged = [&] {
            FileStamp now;
            const bool exists = StampOf(file_, now);
            return exists == existed && (!exists || now == before);
        };
        const bool written = ReplaceWholeFile(file_, bytes, unchanged);
        Take(std::move(merged));
        loaded_ = true;
        if (written) {
            unwritten_.clear();
            failureReported_ = false;
            return;
        }
        if (::GetLastError() != ERROR_RETRY) break;
    }
    // Once per run of failures: the counts stay in memory for the next try.
    const unsigned long code = ::GetLastError();
    if (!failureReported_ && reportFailure) reportFailure("Could not write the launch counts to " + file_, code);
    failureReported_ = true;
}

}  // namespace rz
