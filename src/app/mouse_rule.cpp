#include "app/mouse_rule.h"

namespace {
std::uint32_t Distance(std::uint32_t a, std::uint32_t b) { return a > b ? a - b : b - a; }
}  // namespace

bool MouseRule::IsJump(std::uint32_t x, std::uint32_t y) {
    bool jump = !firstMouseMove_ && (Distance(x, lastMouseX_) > 128 || Distance(y, lastMouseY_) > 128);
    firstMouseMove_ = false;
    lastMouseX_ = x;
    lastMouseY_ = y;
    return jump;
}
