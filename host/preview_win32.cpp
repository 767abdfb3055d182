#include "host/preview_win32.h"

#include "forms/application_win32.h"
#include "forms/text_win32.h"
#include "forms/units.h"
#include "host/module_values.h"
#include "host/resource_ids.h"
#include "host/texts.h"

namespace fulmina {

FulminaR::FulminaR()
    : Form({forms::wide(texts::previewFormCaption), WS_POPUP, 0, RGB(0, 0, 0)}), Img_Prev(*this, forms::loadBitmapResource(IDB_PREVIEW)) {}

bool setUpPreview(FulminaR& preview, HWND pane) {
    RECT rect{};
    GetWindowRect(pane, &rect);
    const double tppX = forms::twipsPerPixelX();
    const double tppY = forms::twipsPerPixelY();
    const std::int16_t widthTwips = forms::pixelsToTwips16(rect.right - rect.left, tppX);
    const std::int16_t heightTwips = forms::pixelsToTwips16(rect.bottom - rect.top, tppY);
    if (!preview.Load()) return false;
    // A child of the pane: WS_CHILD in place of the form's WS_POPUP, which
    // would otherwise keep it a top-level window.
    std::int32_t& apiResult = Fulmina_B.ApiResult;
    apiResult = GetWindowLongA(preview.hwnd(), GWL_STYLE);
    apiResult = SetWindowLongA(preview.hwnd(), GWL_STYLE, (apiResult & ~WS_POPUP) | WS_CHILD);
    // The control panel may have destroyed the pane since the host looked at
    // it: a preview without its pane would stay on the desktop for good.
    if (SetParent(preview.hwnd(), pane) == nullptr) {
        preview.Unload();
        return false;
    }
    const int width = static_cast<int>(forms::twipsToPixels(widthTwips, tppX));
    const int height = static_cast<int>(forms::twipsToPixels(heightTwips, tppY));
    preview.Move(0, 0, width, height);
    preview.Img_Prev.Move(0, 0, width, height);
    preview.Show();
    return true;
}

void FulminaR::Form_Unload() {
    if (hwnd() != nullptr) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace fulmina
