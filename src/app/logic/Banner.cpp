// The credits window's banner frames.
#include "app/logic/Banner.h"

const char kBannerTitle[] = "Quon 音乐播放 ";
const char kBannerDedication[] = "献给我的朋友!";
const char kBannerCredit[] = "By Tobrick";

namespace {

const BannerFrame kFrames[kBannerStepCount] = {
    {kBannerTitle, 50, 48},
    {kBannerDedication, 150, 30},
    {kBannerTitle, 230, 50},
    {kBannerCredit, 150, 40},
};

int NormalStep(int step)
{
    const int r = step % kBannerStepCount;
    return r < 0 ? r + kBannerStepCount : r;
}

}  // namespace

BannerFrame BannerFrameForStep(int step)
{
    return kFrames[NormalStep(step)];
}

int NextBannerStep(int step)
{
    return NormalStep(NormalStep(step) + 1);
}
