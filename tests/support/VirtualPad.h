#pragma once
#include <SDL3/SDL.h>

// A gamepad made with SDL's own virtual joystick API: axis i is SDL_GamepadAxis i, button i is
// SDL_GamepadButton i. The game sees it plugged in and unplugged on its next event poll.
class VirtualPad {
public:
    VirtualPad() = default;
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;
    ~VirtualPad() { unplug(); }

    // vendor and product say which family SDL takes the pad for (none: a standard pad).
    void plug(Uint16 vendor = 0, Uint16 product = 0) {
        SDL_VirtualJoystickDesc desc;
        SDL_INIT_INTERFACE(&desc);
        desc.vendor_id = vendor;
        desc.product_id = product;
        desc.type = SDL_JOYSTICK_TYPE_GAMEPAD;
        desc.naxes = SDL_GAMEPAD_AXIS_COUNT;
        desc.nbuttons = SDL_GAMEPAD_BUTTON_COUNT;
        desc.name = "Moonvale test pad";
        id_ = SDL_AttachVirtualJoystick(&desc);
        joystick_ = SDL_OpenJoystick(id_);
    }
    void unplug() {
        if (!joystick_) return;
        SDL_CloseJoystick(joystick_);
        SDL_DetachVirtualJoystick(id_);
        joystick_ = nullptr;
    }
    // value in -1..1 for sticks, 0..1 for triggers
    void tilt(SDL_GamepadAxis axis, float value) {
        SDL_SetJoystickVirtualAxis(joystick_, axis, static_cast<Sint16>(value * 32767.0f));
    }
    void hold(SDL_GamepadButton button, bool down = true) {
        SDL_SetJoystickVirtualButton(joystick_, button, down);
    }
    bool isPlugged() const { return joystick_ != nullptr; }

private:
    SDL_JoystickID id_ = 0;
    SDL_Joystick* joystick_ = nullptr; // ours: the values are set through it
};
