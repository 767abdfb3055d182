#include "host/fulmina_r.h"

#include "forms/text.h"
#include "host/resource_ids.h"
#include "host/texts.h"

namespace fulmina {

namespace {
HBITMAP previewPicture() {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PREVIEW), IMAGE_BITMAP,
                                           0, 0, LR_CREATEDIBSECTION));
}
}  // namespace

FulminaR::FulminaR()
    : Form({forms::wide(texts::previewFormCaption), WS_POPUP, 0, RGB(0, 0, 0)}), Img_Prev(*this, previewPicture()) {}

void FulminaR::Form_Unload() {
    if (hwnd() != nullptr) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace fulmina
