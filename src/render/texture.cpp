// LoadGLTextures: a bitmap file uploaded as a nearest-filtered 2D texture.
#include "render/texture.h"

#include <GL/gl.h>

#include "render/image.h"

unsigned int LoadGLTextures(const char* filename) {
    GLuint texture = 0;
    ImageRec* image = LoadBMP(filename);
    if (image) {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        // Image rows are tightly packed (3 * width bytes); the default alignment of 4 would
        // misread every width that is not a multiple of 4.
        GLint alignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        // GL_RGB, not the old component count 3: the same texture, and the only form WebGL takes.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image->width, image->height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, image->data);
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    FreeImageRec(image);
    return texture;
}
