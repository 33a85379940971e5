#include "core/TitledDialog.h"

#include "core/Settings.h"
#include "core/TitlePainter.h"

namespace rz {

LRESULT TTitledDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCHITTEST || msg == WM_NCPAINT || msg == WM_NCACTIVATE) {
        LRESULT result = TForm::HandleMessage(msg, wp, lp);
        if (!Settings.WindowsDraw) PaintWindowTitle(Handle(), title_);
        return result;
    }
    return TForm::HandleMessage(msg, wp, lp);
}

void TTitledDialog::FormActivate(TObject*) { PaintWindowTitle(Handle(), title_); }

void TTitledDialog::FormPaint(TObject*) { PaintWindowTitle(Handle(), title_); }

}  // namespace rz
