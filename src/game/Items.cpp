#include "game/CGame.h"
int CGame::ItemKeys() { return 1; }
void CGame::AddScore(int32_t) {}
