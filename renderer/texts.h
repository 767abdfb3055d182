#pragma once
// The renderer's fixed texts: the names by which the saver host finds it and
// the file it reads.

namespace fulmina::texts {

constexpr const char* windowClass = "OpenGL";
constexpr const char* windowTitle = "Fulmina_VC";
// The glow texture file the saver host writes before starting the renderer.
constexpr const char* glowTexturePath = "c:\\z_quil\\Fulmina.bmp";

}  // namespace fulmina::texts
