#include "game/CGame.h"
int CGame::UpdateRocket(GameObject&) { return 1; }
int CGame::AdvanceSpray(ParticleSpray&) { return 1; }
int CGame::DrawSpray(ParticleSpray&) { return 1; }
