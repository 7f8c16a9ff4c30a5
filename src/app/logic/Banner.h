// The credits window's banner: four frames, one per second, each a text at a position.
#pragma once

extern const char kBannerTitle[];       // "Quon 音乐播放 " (with its trailing space)
extern const char kBannerDedication[];  // "献给我的朋友!"
extern const char kBannerCredit[];      // "By Tobrick"

constexpr int kBannerStepCount = 4;

struct BannerFrame {
    const char* text;
    int x;  // top-left corner of the text in the banner's client pixels
    int y;
};

// The frame of step 0..3 (other values are taken modulo 4).
BannerFrame BannerFrameForStep(int step);

// The step after step: 0, 1, 2, 3, 0, ...
int NextBannerStep(int step);
