#pragma once
// The about box: version, the maker's notices and website, and the
// machine's memory use, refreshed every second while the box is shown.

#include <string>

#include "core/TitledDialog.h"
#include "platform/Bevel.h"
#include "platform/LinkLabel.h"
#include "platform/MemoryStatus.h"
#include "platform/Panels.h"
#include "platform/ProgressBar.h"
#include "platform/StdControls.h"
#include "platform/Timer.h"

namespace rz {

inline constexpr unsigned kMemoryInterval = 1000;

class TFormAbout : public TTitledDialog {
public:
    TFormAbout();

    TImage ImageAboutLogo{"ImageAboutLogo", 32, 32};
    TLabel LabelVer{"LabelVer"};
    TLabel LabelDis{"LabelDis"};
    TLabel LabelCopy{"LabelCopy"};
    TBevel BevelAbout{"BevelAbout"};
    TLinkLabel LabelUrl{"LabelUrl"};
    TLabel LabelMemTotal{"LabelMemTotal"};
    TProgressBar ProgressBarP{"ProgressBarP"};
    TPanel PanelAbout{"PanelAbout"};
    TTimer TimerMem{"TimerMem"};

    void FormShow(TObject* sender);
    void FormClose(TObject* sender, bool& hide);
    void TimerMemTimer(TObject* sender);
    void LabelUrlClick(TObject* sender);

private:
    void CreateControls();
    void LayOutControls();
    void DpiChanged() override;
    void DrawLogo();
    void ShowMemoryLine();
};

// "45% used of the total memory at 1,048,576 KB": the total in whole
// kilobytes, grouped by three with the given separator.
std::string FormatMemoryLine(const MemoryStatus& status, const std::string& thousandSeparator);
std::string GroupThousands(unsigned long long value, const std::string& separator);
// The user's locale's thousands separator.
std::string UserThousandSeparator();

}  // namespace rz
