#include "game/CGame.h"

CGame::CGame() {}
CGame::~CGame() {}
int CGame::NewGame() { return 1; }
int CGame::NextStage() { return 1; }
int CGame::IsStageCleared() { return 0; }
int CGame::Tick() { return 1; }
int CGame::Shutdown() { return 1; }
void CGame::DrawField(int32_t) {}
void CGame::DrawMiniMap() {}
void CGame::DrawCentred(const std::string&, int32_t) {}
