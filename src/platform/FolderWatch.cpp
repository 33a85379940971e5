#include "platform/FolderWatch.h"

#include <algorithm>
#include <cstddef>

#include "platform/Application.h"
#include "platform/FileIO.h"
#include "platform/TextCodePage.h"

namespace rz {

namespace {
constexpr DWORD kWhatChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                               FILE_NOTIFY_CHANGE_LAST_WRITE;

// The records the system wrote, each checked against the bytes it reported.
std::vector<std::string> NamesIn(const std::vector<DWORD>& buffer, DWORD bytes) {
    std::vector<std::string> names;
    const auto* base = reinterpret_cast<const BYTE*>(buffer.data());
    const DWORD end = std::min<DWORD>(bytes, static_cast<DWORD>(buffer.size() * sizeof(DWORD)));
    for (DWORD at = 0; at + offsetof(FILE_NOTIFY_INFORMATION, FileName) <= end;) {
        const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + at);
        const DWORD nameAt = at + offsetof(FILE_NOTIFY_INFORMATION, FileName);
        if (nameAt + record->FileNameLength > end) break;
        names.push_back(FromUtf16(std::wstring_view(record->FileName, record->FileNameLength / sizeof(WCHAR))));
        if (record->NextEntryOffset == 0) break;
        at += record->NextEntryOffset;
    }
    return names;
}
}  // namespace

bool TFolderWatch::Start(const std::string& folder, ChangeEvent onChange) {
    Stop();
    folder_ = OwnedFile(::CreateFileW(WidePath(folder).c_str(), FILE_LIST_DIRECTORY,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (!folder_) return false;
    event_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event_) {
        const DWORD code = ::GetLastError();
        folder_.reset();
        ::SetLastError(code);
        return false;
    }
    onChange_ = std::move(onChange);
    if (!Arm()) {
        const DWORD code = ::GetLastError();
        Stop();
        ::SetLastError(code);
        return false;
    }
    Application.AddWait(event_.get(), [this] { Take(); });
    return true;
}

void TFolderWatch::Stop() {
    if (event_) Application.RemoveWait(event_.get());
    if (reading_) {
        // The system must be done with the buffer before anything goes.
        ::CancelIo(folder_.get());
        DWORD ignored = 0;
        ::GetOverlappedResult(folder_.get(), &overlapped_, &ignored, TRUE);
        reading_ = false;
    }
    folder_.reset();
    event_.reset();
    onChange_ = nullptr;
}

bool TFolderWatch::Arm() {
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.get();
    ::ResetEvent(event_.get());
    reading_ =
        ::ReadDirectoryChangesW(folder_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size() * sizeof(DWORD)), TRUE,
                                kWhatChanges, nullptr, &overlapped_, nullptr) != FALSE;
    return reading_;
}

void TFolderWatch::Take() {
    DWORD bytes = 0;
    if (!::GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE)) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_IO_INCOMPLETE) return;
        reading_ = false;
        // Too much at once for the buffer: the system only says so.
        if (code != ERROR_NOTIFY_ENUM_DIR) return Fail(code);
    } else {
        reading_ = false;
    }
    std::vector<std::string> names = NamesIn(buffer_, bytes);
    const bool lost = names.empty();
    // Armed again before anyone hears of it: what changes meanwhile is kept.
    if (!Arm()) return Fail(::GetLastError());
    if (onChange_) {
        const ChangeEvent call = onChange_;
        call(names, lost);
    }
}

void TFolderWatch::Fail(unsigned long code) {
    const auto failure = OnFailure;
    Stop();
    if (failure) failure(code);
}

}  // namespace rz
