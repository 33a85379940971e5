#pragma once
// Whole-file reads and writes that check every byte, for paths of any
// length: a store level may lie deeper than the classic path limit.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Seam.h"

namespace rz {

// The wide form of a path for the file calls; past the classic limit an
// absolute path takes the "\\?\" form, which lifts it.
std::wstring WidePath(const std::string& path);
// The "\\?\" form of an absolute path at any length: the system then takes
// every name as it is, so names its path rules would change or refuse
// ("a.", "aux", "COM1.", "nul.bmp") are reached too. A relative path or
// one already in that form stays as it is.
std::wstring ExactWidePath(const std::string& path);
// A name found by a wide call, back in the program's own strings.
std::string NarrowName(const wchar_t* name);

// The whole content of a file; false with the system's reason in
// GetLastError when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// The file's bytes handed on a piece at a time, for files too large to hold
// whole; false with the system's reason when it cannot be opened or read.
bool ReadFileInPieces(const std::string& path, const std::function<void(std::string_view piece)>& take);

// Creates or truncates the file and writes the bytes. True only when every
// byte was written and the closed file has exactly their size; false with
// the system's reason in GetLastError otherwise (a partial file may stay).
extern Seam<bool(const std::string& path, const std::string& bytes)> WriteWholeFile;

// Writes the bytes to a temporary file of a name of its own beside the path,
// flushed to the disk, and renames it over the path, so a kill, a power cut
// or a full disk at any moment leaves either the old file whole or the new
// one. False with the system's reason in GetLastError; the old file is then
// untouched and no temporary file stays. With unchanged given, it is asked
// just before the rename; when it says no, nothing is replaced and the
// reason is ERROR_RETRY.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes, const std::function<bool()>& unchanged = {});
// Called between the flush and the rename: a test stops there as a kill would.
extern Seam<bool(const std::string& temporary)> BeforeReplacing;
// Deletes the temporary files ReplaceWholeFile left in folder (with its
// trailing "\") when a run was killed; how many.
int RemoveReplaceLeftovers(const std::string& folder);

// A file's size and last write time, as a handle or a folder listing gives them.
struct FileStamp {
    unsigned long long size = 0;
    unsigned long long written = 0;
    bool operator==(const FileStamp&) const = default;
};
// False with the system's reason when the file is not there.
bool StampOf(const std::string& path, FileStamp& stamp);

// What the writes of this thread made while a record is open: each file's
// stamp taken from its own handle before it closed, each folder made. With
// a folder to set aside into, a file below root is never written over: one
// that is there already (come from elsewhere since its folder was made)
// moves to the same place below aside first, under a "(conflicted copy)"
// name if that is taken, and the record lists where it went.
struct WrittenEntry {
    std::string path;
    bool folder = false;
    FileStamp stamp;
};
class WriteRecord {
public:
    WriteRecord() : WriteRecord({}, {}) {}
    WriteRecord(std::string root, std::string aside);
    ~WriteRecord();
    WriteRecord(const WriteRecord&) = delete;
    WriteRecord& operator=(const WriteRecord&) = delete;

    const std::vector<WrittenEntry>& Entries() const { return entries_; }
    const std::vector<std::string>& SetAside() const { return setAside_; }
    // Moves every file below the root that these writes did not leave as it
    // stands (another program's, arrived meanwhile) to the aside folder,
    // before a failed write's folder is discarded; where they went.
    std::vector<std::string> KeepOthers();

private:
    friend struct WriteRecordAccess;
    std::string root_, aside_;  // each with its trailing "\\", or empty
    WriteRecord* outer_;
    std::vector<WrittenEntry> entries_;
    std::vector<std::string> setAside_;
};

// Appends the bytes at the end of the file, creating it when missing. True
// only when every byte was written; false with the system's reason in
// GetLastError (a part of the bytes may then stand at the end).
extern Seam<bool(const std::string& path, const std::string& bytes)> AppendToFile;

// The size of a file; false with the system's reason when it has none.
bool FileSizeOf(const std::string& path, unsigned long long& size);

bool CreateFolder(const std::string& path);

// Whether the system refuses new files in the folder (with its trailing
// "\\") as it does on read-only media: tried with a file that vanishes at once.
bool FolderRefusesNewFiles(const std::string& folder);

// The running program's full path, however long (a folder named in a
// script of many bytes a character passes MAX_PATH bytes early).
std::string ProgramPath();

}  // namespace rz
