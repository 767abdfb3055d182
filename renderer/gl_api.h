#pragma once
// The fixed-function OpenGL 1.1 and GLU declarations the renderer draws with.
// MinGW's GL headers pull in <windows.h> unless the calling-convention macros
// are already there; defining them keeps the portable code free of it.
#if defined(_WIN32) && !defined(APIENTRY)
#define APIENTRY __stdcall
#endif
#if defined(_WIN32) && !defined(WINGDIAPI)
#define WINGDIAPI __declspec(dllimport)
#endif
#if defined(_WIN32) && !defined(CALLBACK)
#define CALLBACK __stdcall
#endif
#include <GL/gl.h>
#include <GL/glu.h>
