#pragma once
// The vertical gradient painted as horizontal bands of solid colour, for
// systems without a gradient painter: bands of 1 to 3 pixels, one colour
// step each, from one step below the top colour down to the bottom colour.

#include <cstdint>

// Colours are 0x00BBGGRR.
inline constexpr uint32_t rgbColor(int red, int green, int blue) {
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}
inline constexpr int redOf(uint32_t color) {
    return int(color & 0xFF);
}
inline constexpr int greenOf(uint32_t color) {
    return int(color >> 8 & 0xFF);
}
inline constexpr int blueOf(uint32_t color) {
    return int(color >> 16 & 0xFF);
}

class GradientBands {
public:
    // For the client rectangle's top and bottom, taken as inclusive rows.
    GradientBands(uint32_t topColor, uint32_t bottomColor, int top, int bottom);

    int bandHeight() const { return bandHeight_; }
    // The number of colour steps from the top colour to the bottom colour.
    int steps() const { return steps_; }

    // The colour of the next band. Once all steps are taken, the bottom
    // colour: the bands reach down to the bottom edge, which can take one
    // band more than there are steps.
    uint32_t next();

private:
    // Spreads a difference over the steps in whole units, the remainder
    // handed out one unit at a time as it accumulates.
    class Stepper {
    public:
        Stepper(int difference, int steps);
        int next();

    private:
        int quotient_;
        int remainder_;
        int sign_;
        int steps_;
        int accumulated_ = 0;
        int taken_ = 0;
    };

    int bandHeight_;
    int steps_;
    int red_;
    int green_;
    int blue_;
    Stepper redStep_;
    Stepper greenStep_;
    Stepper blueStep_;
};
