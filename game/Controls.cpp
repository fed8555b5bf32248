#include "Controls.h"

#include "GamePad.h"
#include "Input.h"

namespace {
const struct {
    PadButton button;
    PadSignal signal;
} kPadButtons[] = {
    {PadButton::DpadUp, PadDpadUp},
    {PadButton::DpadDown, PadDpadDown},
    {PadButton::DpadLeft, PadDpadLeft},
    {PadButton::DpadRight, PadDpadRight},
    {PadButton::A, PadA},
    {PadButton::B, PadB},
    {PadButton::Start, PadStart},
    {PadButton::Back, PadBack},
    {PadButton::LeftShoulder, PadLeftShoulder},
    {PadButton::RightShoulder, PadRightShoulder},
};

// An axis gives its signal once past the threshold, on the threshold's side
// of 0.
const struct {
    PadAxis axis;
    float threshold;
    PadSignal signal;
} kPadAxes[] = {
    {PadAxis::LeftY, -kWalkDeadZone, PadStickUp},
    {PadAxis::LeftY, kWalkDeadZone, PadStickDown},
    {PadAxis::LeftX, -kWalkDeadZone, PadStickLeft},
    {PadAxis::LeftX, kWalkDeadZone, PadStickRight},
    {PadAxis::LeftTrigger, kTriggerThreshold, PadLeftTrigger},
    {PadAxis::RightTrigger, kTriggerThreshold, PadRightTrigger},
};
}  // namespace

bool SwitchesFullScreen(const SDL_keysym& key) {
    const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
    return key.sym == SDLK_F11 || (enter && (key.mod & KMOD_ALT) != 0);
}

bool ResumesPlay(const SDL_keysym& key) {
    return !SwitchesFullScreen(key) && key.sym != kScreenshotKey && !IsModifierKey(key.sym);
}

uint32_t ReadPadSignals() {
    uint32_t signals = 0;
    for (const auto& button : kPadButtons) {
        signals |= GamePadButton(button.button) ? button.signal : 0u;
    }
    for (const auto& axis : kPadAxes) {
        const float value = GamePadAxis(axis.axis);
        const bool past = axis.threshold < 0.0f ? value < axis.threshold : value > axis.threshold;
        signals |= past ? axis.signal : 0u;
    }
    return signals;
}
