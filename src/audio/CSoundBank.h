// The game's sound effects: one preloaded buffer per slot, played from its beginning by index.
#pragma once

#include <cstdint>
#include <memory>

class CSoundBank {
public:
    CSoundBank() = default;
    virtual ~CSoundBank() = default;

    int Create();
    void AllocSlots(int count);
    void LoadWav(int index, const char* fileName, uint32_t extraFlags);
    void Play(int index);
    void Destroy();

    int SlotCount() const { return slotCount; }
    bool IsLoaded(int index) const;

private:
    int slotCount = 0;
    bool sound = false;
    std::unique_ptr<int[]> slots;  // platform buffer handles, 0 = empty
};
