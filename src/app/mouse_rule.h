#pragma once
// Ends the saver on a mouse jump: more than 128 pixels on either axis between two
// successive mouse-move reports. The first report only sets the starting point,
// and a slow drift never ends the saver.
#include <cstdint>

class MouseRule {
public:
    // Takes one report (x and y as the unsigned 16-bit halves of lParam);
    // true when it is a jump that ends the saver.
    bool IsJump(std::uint32_t x, std::uint32_t y);

private:
    bool firstMouseMove_ = true;
    std::uint32_t lastMouseX_ = 0;
    std::uint32_t lastMouseY_ = 0;
};
