#include "audio/CSoundBank.h"

int CSoundBank::Create() { return 1; }
void CSoundBank::AllocSlots(int) {}
void CSoundBank::LoadWav(int, const char*, uint32_t) {}
void CSoundBank::Play(int) {}
void CSoundBank::Destroy() {}
bool CSoundBank::IsLoaded(int) const { return false; }
