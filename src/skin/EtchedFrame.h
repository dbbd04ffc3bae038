// FRAME: a static control that draws an etched edge around its client
// rectangle and nothing else (the page shows through inside).
#pragma once

#include "skin/SkinControl.h"

namespace skin {

class EtchedFrame : public SkinControl {
public:
    explicit EtchedFrame(HWND hwnd);
    void Paint(HDC dc) override;

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

}  // namespace skin
