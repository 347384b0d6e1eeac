// The background picture: one texture drawn on a quad just in front of the eye.
#include "main/background.h"

#include "render/texture.h"

#include <GL/gl.h>

BackgroundImage::BackgroundImage(const char* fileName) : texture(LoadGLTextures(fileName)) {}

BackgroundImage::~BackgroundImage() {
    if (texture != 0) {
        glDeleteTextures(1, &texture);
    }
}

void BackgroundImage::draw() {
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    glLoadIdentity();
    // At z = -1.81 with the 45 degree, 4:3 projection this spans the full width and overfills
    // the height.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, -1.81f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, -1.81f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, -1.81f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, -1.81f);
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}
