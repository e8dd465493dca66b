#include "installer/GradientBands.h"

namespace {

// Up to 224 bands, each 1 to 3 pixels high: a few hundred fills even on a tall screen.
constexpr int kMostBands = 224;
constexpr int kTallestBand = 3;

int bandHeightFor(int rows) {
    const int height = rows / kMostBands;
    return height < 1 ? 1 : height > kTallestBand ? kTallestBand : height;
}

int stepsFor(int rows, int bandHeight) {
    const int steps = rows / bandHeight;
    return steps < 1 ? 1 : steps;
}

} // namespace

GradientBands::Stepper::Stepper(int difference, int steps)
    : quotient_(difference / steps), remainder_(difference % steps), sign_(difference < 0 ? -1 : 1),
      steps_(steps) {
    if (remainder_ < 0)
        remainder_ = -remainder_;
}

int GradientBands::Stepper::next() {
    if (taken_ >= steps_)
        return 0;
    ++taken_;
    int step = quotient_;
    accumulated_ += remainder_;
    if (accumulated_ >= steps_) {
        accumulated_ -= steps_;
        step += sign_;
    }
    return step;
}

GradientBands::GradientBands(uint32_t topColor, uint32_t bottomColor, int top, int bottom)
    : bandHeight_(bandHeightFor(bottom - top + 1)), steps_(stepsFor(bottom - top + 1, bandHeight_)),
      red_(redOf(topColor)), green_(greenOf(topColor)), blue_(blueOf(topColor)),
      redStep_(redOf(topColor) - redOf(bottomColor), steps_),
      greenStep_(greenOf(topColor) - greenOf(bottomColor), steps_),
      blueStep_(blueOf(topColor) - blueOf(bottomColor), steps_) {}

uint32_t GradientBands::next() {
    red_ -= redStep_.next();
    green_ -= greenStep_.next();
    blue_ -= blueStep_.next();
    return rgbColor(red_, green_, blue_);
}
