#include "core/ErrorLog.h"

#include <windows.h>

#include "core/AppData.h"
#include "core/LogFile.h"
#include "platform/Application.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"
#include "support/UcvSysExceptions.h"

namespace rz {

namespace {

std::string g_fatalText;
std::string g_backupText;

const char* TypeCaption(NoticeType type) {
    switch (type) {
        case NoticeType::Warning: return "Warning";
        case NoticeType::Error: return "Error";
        case NoticeType::Information: return "Information";
        case NoticeType::Confirmation: return "Confirm";
        case NoticeType::Custom: break;
    }
    return nullptr;
}

UINT TypeIcon(NoticeType type) {
    switch (type) {
        case NoticeType::Warning: return MB_ICONWARNING;
        case NoticeType::Error: return MB_ICONERROR;
        case NoticeType::Information: return MB_ICONINFORMATION;
        case NoticeType::Confirmation: return MB_ICONQUESTION;
        case NoticeType::Custom: break;
    }
    return 0;
}

UINT ButtonSet(unsigned b) {
    if (b == (kButtonYes | kButtonNo | kButtonCancel)) return MB_YESNOCANCEL;
    if (b == (kButtonYes | kButtonNo)) return MB_YESNO;
    if (b == (kButtonOK | kButtonCancel)) return MB_OKCANCEL;
    if (b == (kButtonAbort | kButtonRetry | kButtonIgnore)) return MB_ABORTRETRYIGNORE;
    if (b == (kButtonRetry | kButtonCancel)) return MB_RETRYCANCEL;
    return MB_OK;
}

}  // namespace

namespace {

std::string LocaleDate(const SYSTEMTIME& at) {
    char buffer[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, buffer, sizeof(buffer));
    return buffer;
}

std::string LogPath() { return App.dataFolder + "errorlog.txt"; }

bool WriteLine(const std::string& message, unsigned long code) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return AppendToLog(LogPath(), ComposeLogLine(LocaleDate(now), LogTime(now), message, code) + "\r\n");
}

// The lines of this run, by log: a test or a second data folder starts afresh.
TLogRepeats g_repeats;
std::string g_repeatsPath;

void WriteRepeatCounts() {
    for (const auto& [key, count] : g_repeats.TakeCounts()) {
        const size_t space = key.find(' ');
        WriteLine("Repeated " + std::to_string(count) + " more times: " + key.substr(space + 1),
                  std::stoul(key.substr(0, space)));
    }
}

// A message logged before in this run is counted instead (which counts as written).
bool AppendLogLine(const std::string& message, unsigned long code) {
    if (g_repeatsPath != LogPath()) {
        g_repeats = TLogRepeats();
        g_repeatsPath = LogPath();
    }
    const std::string key = std::to_string(code) + ' ' + message;
    // The counts so far go into the file before a new message makes them forgotten.
    if (g_repeats.WouldForget(key)) WriteRepeatCounts();
    if (!g_repeats.First(key)) return true;
    if (WriteLine(message, code)) return true;
    g_repeats.Forget(key);
    return false;
}

}  // namespace

int ShowNotice(int number, const std::string& text, int mode, NoticeType type, unsigned buttons, int helpContext) {
    (void)helpContext;
    const std::string& body = number == kNoticeGiven ? text : PreparedText(number);
    if (mode == 0) {
        ShowMessageBox(Application.Handle(), body, Application.Title(), MB_OK);
        return IDOK;
    }
    if (mode != 1) return IDOK;
    const char* caption = TypeCaption(type);
    return ShowMessageBox(Application.Handle(), body, caption ? caption : Application.Title(),
                          ButtonSet(buttons) | TypeIcon(type));
}

std::string SupportParagraph(const std::string& dataFolder) {
    return std::string("\r\n\r\n") + "If the problem persists try visit " + kMakerWebsite +
           " and check for updates and/or work arounds of already known bugs. " + "\r\n\r\n" +
           "As an alternative please send \"" + dataFolder + "errorlog.txt\" and a " +
           "reproducible description of what you were doing at the time the error ocurred to " + kSupportEmail +
           ", and we'll do our best to resolve the problem.";
}

std::string BackupQuestionText(const std::string& dataFolder) {
    return "A Backup of an earlier items list exists as \"" + dataFolder + "item_bak.\" " +
           "In most cases this is caused by the program has crashed while saving items last time." + "\r\n\r\n" +
           "Do you wish to restore the items from the backup?" + "\r\n" +
           "If you choose \"No\" the program will attempt to delete the backup, " +
           "if you choose \"Yes\" the program will attempt to restore the items, " +
           "if you choose \"Cancel\" the program will exit with any further actions." + SupportParagraph(dataFolder);
}

std::string FatalExceptionText(const std::string& dataFolder) {
    return "Exception raised, Razaveza will now terminate to prevent machine lockup." + SupportParagraph(dataFolder);
}

void BuildPreparedTexts(const std::string& dataFolder) {
    g_fatalText = FatalExceptionText(dataFolder);
    g_backupText = BackupQuestionText(dataFolder);
}

const std::string& PreparedText(int number) {
    static const std::string kNone;
    if (number == kNoticeFatal) return g_fatalText;
    if (number == kNoticeBackup) return g_backupText;
    return kNone;
}

std::string ComposeLogLine(const std::string& date, const std::string& time, const std::string& message,
                           unsigned long code) {
    return date + " - " + time + ": Razaveza: " + message + ". Last Win32 Error (" + std::to_string(code) +
           "): " + SystemMessage(code) + ".";
}

std::string LogTime(const SYSTEMTIME& at) {
    char buffer[128] = {};
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &at, nullptr, buffer, sizeof(buffer));
    return buffer;
}

bool WriteErrorLog(const std::string& message) noexcept {
    // Before the file and the box: both leave codes of their own.
    const unsigned long code = ::GetLastError();
    try {
        // A box that shows only the path of a log that is not there tells nothing.
        if (!AppendLogLine(message, code)) return false;
        ShowNotice(kNoticeGiven, LogPath(), 0);
        return true;
    } catch (...) {
        return false;
    }
}

bool LogTolerated(const std::string& message, unsigned long code) noexcept {
    try {
        return AppendLogLine(message, code);
    } catch (...) {
        return false;
    }
}

void FlushLogRepeats() noexcept {
    try {
        if (g_repeatsPath != LogPath()) return;
        WriteRepeatCounts();
    } catch (...) {}
}

std::string ProblemInWords(unsigned long code, const std::string& folder) {
    if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL) return "The disk is full";
    if (code == ERROR_WRITE_PROTECT || (code == ERROR_ACCESS_DENIED && FolderRefusesNewFiles(folder)))
        return "The folder " + folder + " is read-only";
    const std::string text = SystemMessage(code);
    return text.empty() ? "Error " + std::to_string(code) : text;
}

}  // namespace rz
