#pragma once

namespace fulmina {

// Turns a picture file into an OpenGL texture with power-of-two sides in the
// current context. On success stores the new texture's name and leaves it
// bound; on failure creates nothing and leaves textureName untouched. Only a
// file of the user's own (see readOwnFile) that holds a whole picture (see
// isDecodablePicture) is loaded.
bool loadPictureTexture(const char* path, unsigned* textureName);

}  // namespace fulmina
