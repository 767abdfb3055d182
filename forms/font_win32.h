#pragma once
#include <windows.h>

#include <string>

#include "common/handles_win32.h"
#include "forms/font_description.h"

namespace forms {

// The face the system will draw a font with: its own name when the system
// has it; otherwise, for a Japanese font, the first Japanese face it has
// (so that the text never shows as boxes); otherwise the name as it is, for
// the system's own substitution.
std::wstring resolvedFace(const FontDescription& font);

// The font at the screen's resolution.
handles::Font createFont(const FontDescription& font);

}  // namespace forms
