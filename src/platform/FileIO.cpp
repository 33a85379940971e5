#include "platform/FileIO.h"

#include <windows.h>

#include <algorithm>

#include <atomic>
#include <vector>

#include "platform/Handles.h"
#include "platform/TextCodePage.h"

namespace rz {

namespace {

// CreateDirectory refuses from here on; the other calls a little later.
constexpr size_t kClassicLimit = MAX_PATH - 12;

bool IsDrivePath(const std::string& p) { return p.size() > 2 && p[1] == ':' && p[2] == '\\'; }
// "\\server\share\...", not "\\?\..." (already lifted) nor "\\.\..." (a device).
bool IsUncPath(const std::string& p) {
    return p.size() > 2 && p.compare(0, 2, "\\\\") == 0 && p[2] != '?' && p[2] != '.';
}

std::wstring LongForm(const std::string& path) {
    if (IsDrivePath(path)) return L"\\\\?\\" + ToUtf16(path);
    if (IsUncPath(path)) return L"\\\\?\\UNC\\" + ToUtf16(path).substr(2);
    return ToUtf16(path);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return false;
        if (written == 0) {
            // A device that takes nothing and says nothing is full all the same.
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += written;
    }
    return true;
}

thread_local WriteRecord* t_record = nullptr;

unsigned long long Combined(DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; }

}  // namespace

struct WriteRecordAccess {
    static WriteRecord* Open() { return t_record; }
    // Where a file found at path goes, or "" when it may be written over.
    static std::string AsideOf(const std::string& path) {
        if (!t_record || t_record->aside_.empty() || path.compare(0, t_record->root_.size(), t_record->root_) != 0)
            return {};
        return t_record->aside_ + path.substr(t_record->root_.size());
    }
    static void Wrote(const std::string& path, bool folder, const FileStamp& stamp) {
        if (t_record) t_record->entries_.push_back(WrittenEntry{path, folder, stamp});
    }
    static void SetAside(const std::string& path) {
        if (t_record) t_record->setAside_.push_back(path);
    }
};

namespace {

// A free "name (conflicted copy N).ext" beside path.
std::string ConflictedName(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    const size_t dot = path.find_last_of('.');
    const size_t cut = dot != std::string::npos && (slash == std::string::npos || dot > slash) ? dot : path.size();
    for (int n = 1;; ++n) {
        const std::string name =
            path.substr(0, cut) + " (conflicted copy" + (n > 1 ? " " + std::to_string(n) : "") + ")" + path.substr(cut);
        if (::GetFileAttributesW(WidePath(name).c_str()) == INVALID_FILE_ATTRIBUTES || n >= 1000) return name;
    }
}

// Every folder of the path up to its last "\\".
void MakeFoldersFor(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        ::CreateDirectoryW(WidePath(path.substr(0, at)).c_str(), nullptr);
}

// Created anew; in a record that writes over nothing, a file already there
// moves aside first.
unique_handle_kernel CreateForWriting(const std::string& path) {
    const std::string asideTo = WriteRecordAccess::AsideOf(path);
    if (asideTo.empty())
        return OwnedFile(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    for (int tries = 0; tries < 3; ++tries) {
        unique_handle_kernel file = OwnedFile(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
        MakeFoldersFor(asideTo);
        const std::string aside = ::GetFileAttributesW(WidePath(asideTo).c_str()) == INVALID_FILE_ATTRIBUTES
                                      ? asideTo
                                      : ConflictedName(asideTo);
        if (!::MoveFileW(WidePath(path).c_str(), WidePath(aside).c_str())) return nullptr;
        WriteRecordAccess::SetAside(aside);
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return nullptr;
}

bool WriteFileChecked(const std::string& path, const std::string& bytes) {
    unique_handle_kernel file = CreateForWriting(path);
    if (!file) return false;
    if (!WriteAll(file.get(), bytes)) return false;
    // On the disk before anyone relies on it: a rename over an older file,
    // or a backup dropped.
    if (!::FlushFileBuffers(file.get())) return false;
    // What a layer below accepted and then dropped shows in the size. Asked of
    // our own handle: by name, a file another program moved over ours since
    // would read as our failure (it is an outside change, found later).
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) return false;
    const FileStamp stamp{Combined(info.nFileSizeHigh, info.nFileSizeLow),
                          Combined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
    if (stamp.size != bytes.size()) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    if (WriteRecordAccess::Open()) WriteRecordAccess::Wrote(path, false, stamp);
    HANDLE raw = file.release();
    if (!::CloseHandle(raw)) return false;
    return true;
}

}  // namespace

std::wstring WidePath(const std::string& path) { return path.size() < kClassicLimit ? ToUtf16(path) : LongForm(path); }

std::wstring ExactWidePath(const std::string& path) { return LongForm(path); }

std::string NarrowName(const wchar_t* name) { return FromUtf16(name); }

bool ReadFileInPieces(const std::string& path, const std::function<void(std::string_view)>& take) {
    unique_handle_kernel file =
        OwnedFile(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) return false;
        if (n == 0) return true;
        take(std::string_view(buffer.data(), n));
    }
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    return ReadFileInPieces(path, [&bytes](std::string_view piece) { bytes.append(piece); });
}

Seam<bool(const std::string&, const std::string&)> WriteWholeFile{&WriteFileChecked};

std::string ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return NarrowName(path.c_str());
        }
        path.resize(path.size() * 2);
    }
}

namespace {
constexpr char kReplaceSuffix[] = ".razaveza-tmp";

bool NoPause(const std::string&) { return true; }

// Beside the file, unique to this process and call: two writers never meet,
// and a file of the user's is never taken for one.
std::string TemporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + "." + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter) + kReplaceSuffix;
}
}  // namespace

Seam<bool(const std::string&)> BeforeReplacing{&NoPause};

bool ReplaceWholeFile(const std::string& path, const std::string& bytes, const std::function<bool()>& unchanged) {
    const std::string temporary = TemporaryNameFor(path);
    bool written = false;
    {
        // Never into a record's folder as a fresh file of its own.
        WriteRecord outside;
        written = WriteWholeFile(temporary, bytes);
    }
    if (written && !BeforeReplacing(temporary)) return false;  // as if killed here
    if (written && unchanged && !unchanged()) {
        ::DeleteFileW(WidePath(temporary).c_str());
        ::SetLastError(ERROR_RETRY);
        return false;
    }
    if (!written || !::MoveFileExW(WidePath(temporary).c_str(), WidePath(path).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD reason = ::GetLastError();
        ::DeleteFileW(WidePath(temporary).c_str());
        ::SetLastError(reason);
        return false;
    }
    return true;
}

int RemoveReplaceLeftovers(const std::string& folder) {
    int removed = 0;
    WIN32_FIND_DATAW found{};
    unique_hfind find = MakeFindHandle(::FindFirstFileW(WidePath(folder + "*" + kReplaceSuffix).c_str(), &found));
    if (!find) return 0;
    do {
        const std::string name = NarrowName(found.cFileName);
        // The pattern also matches longer endings ("x.razaveza-tmpfoo" in the 8.3 sense).
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !name.ends_with(kReplaceSuffix)) continue;
        if (::DeleteFileW(WidePath(folder + name).c_str())) ++removed;
    } while (::FindNextFileW(find.get(), &found));
    return removed;
}

bool StampOf(const std::string& path, FileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return false;
    stamp = FileStamp{Combined(data.nFileSizeHigh, data.nFileSizeLow),
                      Combined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
    return true;
}

WriteRecord::WriteRecord(std::string root, std::string aside)
    : root_(std::move(root)), aside_(std::move(aside)), outer_(t_record) {
    t_record = this;
}

WriteRecord::~WriteRecord() { t_record = outer_; }

namespace {
// Every file below folder (with its trailing "\\"), at any depth.
void FilesBelow(const std::string& folder, std::vector<std::string>& files) {
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW(WidePath(folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = NarrowName(found.cFileName);
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) FilesBelow(folder + name + "\\", files);
        else files.push_back(folder + name);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}
}  // namespace

std::vector<std::string> WriteRecord::KeepOthers() {
    std::vector<std::string> files, kept;
    if (root_.empty() || aside_.empty()) return kept;
    FilesBelow(root_, files);
    for (const std::string& path : files) {
        FileStamp now;
        const bool ours = StampOf(path, now) && std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) {
                              return !e.folder && e.stamp == now && _stricmp(e.path.c_str(), path.c_str()) == 0;
                          });
        if (ours) continue;
        std::string to = aside_ + path.substr(root_.size());
        MakeFoldersFor(to);
        if (::GetFileAttributesW(WidePath(to).c_str()) != INVALID_FILE_ATTRIBUTES) to = ConflictedName(to);
        if (::MoveFileW(WidePath(path).c_str(), WidePath(to).c_str())) kept.push_back(to);
    }
    setAside_.insert(setAside_.end(), kept.begin(), kept.end());
    return kept;
}

namespace {
bool AppendChecked(const std::string& path, const std::string& bytes) {
    unique_handle_kernel file = OwnedFile(::CreateFileW(WidePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !WriteAll(file.get(), bytes)) return false;
    return ::CloseHandle(file.release()) != FALSE;
}
}  // namespace

Seam<bool(const std::string&, const std::string&)> AppendToFile{&AppendChecked};

bool FileSizeOf(const std::string& path, unsigned long long& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return false;
    size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool CreateFolder(const std::string& path) {
    if (!::CreateDirectoryW(WidePath(path).c_str(), nullptr)) {
        // Made meanwhile by someone else in a record's fresh folder: the files in it are what matters.
        const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
        if (::GetLastError() != ERROR_ALREADY_EXISTS || WriteRecordAccess::AsideOf(path).empty() ||
            attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
    }
    WriteRecordAccess::Wrote(path, true, FileStamp{});
    return true;
}

bool FolderRefusesNewFiles(const std::string& folder) {
    unique_handle_kernel probe =
        OwnedFile(::CreateFileW(WidePath(folder + "razaveza.probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (probe) return false;
    const DWORD why = ::GetLastError();
    return why == ERROR_ACCESS_DENIED || why == ERROR_WRITE_PROTECT;
}

}  // namespace rz
