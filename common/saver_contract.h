#pragma once
// Everything the saver host and the renderer agree on: the two programs share
// nothing else. The host starts the renderer by its file name, writes the glow
// texture file before that and deletes it afterwards, and knows the renderer
// is running while a window of its title exists. Both programs and their
// tests take these texts from here.

namespace fulmina::contract {

// The renderer program, appended to the host's folder.
constexpr const char* rendererFile = "\\Fulmina.dll";

// The glow texture file: written by the host, read once by the renderer.
constexpr const char* textureFolder = "C:\\z_quil";
constexpr const char* textureFile = "C:\\z_quil\\Fulmina.bmp";

// The renderer's window. The host looks for the title only; the class tells
// the renderer's own window from another program's of the same title.
constexpr const char* windowClass = "OpenGL";
constexpr const char* windowTitle = "Fulmina_VC";
// The black windows over the other monitors while the renderer is full
// screen: a class of their own and no title, so the host never takes one for
// the renderer's window.
constexpr const char* darkWindowClass = "Fulmina_Dark";

}  // namespace fulmina::contract
