// The game's sound effects: one preloaded buffer per slot, played from its beginning by index.
#pragma once

#include <cstdint>
#include <memory>

class CSoundBank {
public:
    CSoundBank() = default;
    virtual ~CSoundBank() = default;

    // Opens the audio device; 0, after "DirectSound Creation Failed.", when there is none. Without a
    // device, loads leave their slots empty and Play only reports the call to the sound log.
    int Create();
    // Makes `count` empty slots (a table made earlier is released first).
    void AllocSlots(int count);
    // Reads a RIFF WAVE file, converts it to the device format and puts it in slot `index`, releasing
    // what the slot held. A failed step shows its message and leaves the slot empty. `extraFlags` are
    // buffer capabilities the platform has no use for. An index outside the table is ignored.
    void LoadWav(int index, const char* fileName, uint32_t extraFlags);
    // Starts slot `index` from its beginning; an effect still sounding restarts rather than doubling.
    // An empty slot or an index outside the table plays nothing, but the call is still logged.
    void Play(int index);
    // Releases every buffer, the table and the device; safe to call again.
    void Destroy();

    int SlotCount() const { return slotCount; }
    bool IsLoaded(int index) const;

private:
    bool HasSlot(int index) const { return index >= 0 && index < slotCount; }
    void ReleaseSlot(int index);
    void ReleaseSlots();
    int LoadBuffer(const char* fileName);

    int slotCount = 0;
    bool sound = false;            // the device is open
    std::unique_ptr<int[]> slots;  // platform buffer handles, 0 = empty
};
