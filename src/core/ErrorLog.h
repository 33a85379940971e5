#pragma once
// The error log, the prepared texts and the one routine through which the
// program shows its message boxes.

#include <windows.h>

#include <string>

namespace rz {

enum class NoticeType { Warning, Error, Information, Confirmation, Custom };

enum NoticeButton : unsigned {
    kButtonYes = 1,
    kButtonNo = 2,
    kButtonOK = 4,
    kButtonCancel = 8,
    kButtonAbort = 16,
    kButtonRetry = 32,
    kButtonIgnore = 64,
};

// Prepared text numbers.
enum : int { kNoticeGiven = 0, kNoticeFatal = 1, kNoticeBackup = 3 };

// mode 0: plain box captioned with the application title, OK only (answer 1);
// mode 1: a dialog of the given type and buttons (answer IDOK, IDCANCEL, IDYES, IDNO ...);
// any other mode shows nothing (answer 1).
int ShowNotice(int number, const std::string& text, int mode, NoticeType type = NoticeType::Information,
               unsigned buttons = kButtonOK, int helpContext = 0);

std::string SupportParagraph(const std::string& dataFolder);
std::string BackupQuestionText(const std::string& dataFolder);
std::string FatalExceptionText(const std::string& dataFolder);
// Builds texts 1 and 3 once the data folder is known.
void BuildPreparedTexts(const std::string& dataFolder);
const std::string& PreparedText(int number);

// One log line (without CR LF) from its parts.
std::string ComposeLogLine(const std::string& date, const std::string& time, const std::string& message,
                           unsigned long code);
// Hours and minutes in the user's time format, whatever its hour width.
std::string LogTime(const SYSTEMTIME& at);
// Appends one line to DataFolder\errorlog.txt with the thread's last error
// as it was on entry, then shows the log's path. A log that cannot be
// written shows no box and raises nothing: false, and the caller tells the
// user what happened in other words.
bool WriteErrorLog(const std::string& message) noexcept;
// The same line without the box, for failures the program goes on after:
// the caller passes the code of the call that failed. False when the log
// cannot be written.
bool LogTolerated(const std::string& message, unsigned long code) noexcept;
// A line that came again in this run was only counted: this writes how often.
void FlushLogRepeats() noexcept;

// A failed write as the user knows the problem: "The disk is full", "The
// folder ... is read-only", else the system's own text.
std::string ProblemInWords(unsigned long code, const std::string& folder);

}  // namespace rz
