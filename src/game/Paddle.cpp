#include "game/CGame.h"
int CGame::ResetPaddle() { return 1; }
int CGame::UpdatePaddle(GameObject&, GameObject&) { return 1; }
