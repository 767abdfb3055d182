#pragma once

namespace fulmina {

// Whether a space-separated extension list (as OpenGL and WGL give them; null
// where there is none) names the extension: whole names only, so
// "WGL_EXT_swap_control_tear" does not count as "WGL_EXT_swap_control".
bool extensionListed(const char* list, const char* name);

}  // namespace fulmina
