#pragma once
#include "forms/form.h"
#include "forms/image.h"

namespace fulmina {

// The still preview shown inside the display control panel's preview pane.
class FulminaR : public forms::Form {
public:
    FulminaR();
    forms::Image Img_Prev;

protected:
    void Form_Unload() override;
};

}  // namespace fulmina
