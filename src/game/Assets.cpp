#include "game/CGame.h"
int CGame::LoadAssets() { return 1; }
