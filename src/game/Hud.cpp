#include "game/CGame.h"
int CGame::DrawString(int32_t, int32_t, const std::string&) { return 1; }
int CGame::DrawHud() { return 1; }
int CGame::DrawItemBar() { return 1; }
int CGame::DrawLives() { return 1; }
int CGame::DrawTimedMessage(int32_t) { return 1; }
void CGame::DrawNumber(int32_t, int32_t) {}
