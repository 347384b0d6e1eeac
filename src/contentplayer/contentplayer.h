// One music track per game: opened on construction, started by play(), stopped and released on
// destruction.
#pragma once

struct PlatMusic;

class ContentPlayer {
  public:
    // Loads the track; playback does not start yet. A missing file or no audio device leaves
    // the player silent, and every call below is then harmless.
    explicit ContentPlayer(const char* fileName);
    ~ContentPlayer();
    ContentPlayer(const ContentPlayer&) = delete;
    ContentPlayer& operator=(const ContentPlayer&) = delete;

    void play(); // plays the track once from the start
    void stop();

    bool hasTrack() const { return track != nullptr; }
    bool isPlaying() const;

  private:
    PlatMusic* track;
};
