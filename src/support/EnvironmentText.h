#pragma once
// Paths and parameters that name environment variables (%USERPROFILE%\x):
// a store kept in a synced folder serves computers with other user names
// and drives. The store keeps the text as typed; what is launched, looked
// at or shown expanded goes through here.

#include <string>
#include <vector>

namespace rz {

// The longest text the system takes as a command line or an environment value.
inline constexpr size_t kMaxExpandedChars = 32767;

struct ExpandedText {
    // Every defined variable replaced once (a value naming a variable is not
    // expanded again); what is not defined stays as typed.
    std::string text;
    // Names that look like variables and are not defined, in order, each once.
    std::vector<std::string> undefined;
    // The expansion passed kMaxExpandedChars: text is then the typed text.
    bool tooLong = false;
};

// Expands %NAME% from the process's environment, as the system does: "%" alone
// and "%%" stay, and an undefined name keeps its "%" on both sides.
ExpandedText ExpandVariables(const std::string& typed);
// The expanded text, or the typed one when it would pass the limit.
std::string Expanded(const std::string& typed);
// What a failure adds for names left as typed: "%A% is not defined." and the like, or "".
std::string UndefinedVariablesText(const std::vector<std::string>& undefined);

}  // namespace rz
