// The full-screen picture behind the splash, the selection screen and the game-over screen.
#pragma once

class BackgroundImage {
  public:
    unsigned int texture; // GL texture name; 0 when the picture could not be loaded

    explicit BackgroundImage(const char* fileName);
    // Frees the texture: each game loads its picture afresh.
    ~BackgroundImage();
    BackgroundImage(const BackgroundImage&) = delete;
    BackgroundImage& operator=(const BackgroundImage&) = delete;
    // Draws one textured quad that fills the view, whatever the modelview matrix holds.
    void draw();
};
