#pragma once
// The system's open-file dialog as a component: a filter in the form
// "Text|pattern|Text|pattern", the dialog's option flags and the chosen file.

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "platform/Component.h"
#include "platform/Seam.h"

namespace rz {

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(std::string name = {}) : TComponent(std::move(name)) {}

    std::string Filter;
    // OFN_ flags. The dialog never changes the working directory
    // (OFN_NOCHANGEDIR is always added): a folder once browsed would
    // otherwise stay locked while the program runs.
    DWORD Options = 0;
    // The preselection, and the full path chosen.
    std::string FileName;

    // Shows the dialog, modal to owner. True when the user chose a file.
    bool Execute(HWND owner);
};

// The modal dialog itself (GetOpenFileNameA on the prepared request).
extern Seam<bool(OPENFILENAMEA& request)> ShowOpenDialog;

}  // namespace rz
