// Bitmap files turned into OpenGL texture objects.
#pragma once

// Loads a .bmp file into a new 2D texture (nearest filtering, no mipmaps) and returns its name,
// which stays bound; 0 when the image cannot be loaded. Needs a current GL context.
unsigned int LoadGLTextures(const char* filename);
