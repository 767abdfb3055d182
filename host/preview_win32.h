#pragma once
#include <windows.h>

#include "forms/form_win32.h"
#include "forms/image_win32.h"

namespace fulmina {

// The still preview shown inside the display control panel's preview pane.
class FulminaR : public forms::Form {
public:
    FulminaR();
    forms::Image Img_Prev;

protected:
    void Form_Unload() override;
};

// Turns the loaded preview into a child of the pane filling it, with the
// picture at its natural size from the top-left corner, and shows it. False,
// with the preview unloaded, when the pane has gone.
bool setUpPreview(FulminaR& preview, HWND pane);

}  // namespace fulmina
