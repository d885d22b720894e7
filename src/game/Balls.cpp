#include "game/CGame.h"
int CGame::ResetBalls() { return 1; }
int CGame::UpdateBalls() { return 1; }
int CGame::StepBall(Ball&) { return 1; }
int CGame::DrawBall(Ball&) { return 1; }
int CGame::GlueBall(Ball&, int32_t) { return 1; }
int CGame::BranchBalls() { return 1; }
int CGame::ChangeBallSpeed(int32_t) { return 1; }
int CGame::StartSpray(int32_t, int32_t, int8_t, ParticleSpray&) { return 1; }
void CGame::LaunchPoint(int32_t*, int32_t*) {}
