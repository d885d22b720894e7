// Polled relative mouse: one snapshot per ReadState, queried any number of times.
#pragma once

#include "platform/Platform.h"

class CMouse {
public:
    CMouse() = default;
    virtual ~CMouse() = default;

    int Create();
    int Release();
    int ReadState();
    int GetDeltaX();
    int IsButtonDown(int button);

    plat::MouseState mouseState;

private:
    bool device = false;
    bool input = false;
};
