#include "input/CKeyboard.h"

int CKeyboard::Create() { return 1; }
int CKeyboard::Release() { return 1; }
int CKeyboard::IsKeyDown(int) { return 0; }
