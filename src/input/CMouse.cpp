#include "input/CMouse.h"

int CMouse::Create() { return 1; }
int CMouse::Release() { return 1; }
int CMouse::ReadState() { return 0; }
int CMouse::GetDeltaX() { return 0; }
int CMouse::IsButtonDown(int) { return 0; }
