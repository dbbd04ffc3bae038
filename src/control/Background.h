// The full-screen background behind the wizard: the main frame, maximised,
// painted with a vertical colour gradient, a title at the top left, a second
// text near the bottom right and a picture. The frame keeps below the wizard
// pages, the splash and the billboards: it is never the active window (it
// takes no input) and every move of it goes to the bottom of the z-order. It
// cannot be closed on its own: the setup is left through the wizard.
#pragma once

#include <windows.h>

#include <string>

#include "control/BackgroundRules.h"
#include "skin/OlePicture.h"

namespace control {

class Background {
public:
    // Turns the frame into the background: maximised (without being
    // activated), disabled, without a menu, titled like the setup's
    // messages, with the picture loaded when the file is there and can be
    // decoded (otherwise it is drawn without one).
    void Open(HWND frame, const background::BackgroundSettings& settings, const std::string& picturePath);
    bool On() const { return on_; }
    bool PictureLoaded() const { return picture_.Loaded(); }

    // The frame's messages the background answers (erasing, painting, its
    // place below the other windows, closing); false for every other
    // message, and for all of them while the background is off.
    bool HandleMessage(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void Erase(HWND frame, HDC dc) const;
    void Paint(HWND frame) const;

    bool on_ = false;
    background::BackgroundSettings settings_;
    background::Rgb top_;
    background::Rgb bottom_;
    skin::OlePicture picture_;
};

}  // namespace control
