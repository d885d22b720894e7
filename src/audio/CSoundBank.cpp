#include "audio/CSoundBank.h"

#include <vector>

#include "audio/WavConvert.h"
#include "audio/WavReader.h"
#include "platform/Platform.h"
#include "platform/base/Files.h"

int CSoundBank::Create() {
    sound = plat::AudioOpen();
    if (!sound) {
        plat::MessageBox("DirectSound Creation Failed.");
        return 0;
    }
    // The platform's device has no cooperative level to refuse: once open, it is ours.
    return 1;
}

void CSoundBank::AllocSlots(int count) {
    ReleaseSlots();
    slotCount = count > 0 ? count : 0;
    slots = std::make_unique<int[]>(static_cast<size_t>(slotCount));
}

void CSoundBank::LoadWav(int index, const char* fileName, uint32_t /*extraFlags*/) {
    if (!HasSlot(index)) return;
    ReleaseSlot(index);
    // Without a device there is nothing to load into; Create has already said so.
    if (!sound) return;
    slots[index] = LoadBuffer(fileName);
}

// A new buffer's handle, or 0 after the failed step's message. The file is read by ranges: its
// chunk headers, its format and then its sound, a window at a time.
int CSoundBank::LoadBuffer(const char* fileName) {
    const plat::Result<plat::DataFile> file = plat::DataFile::Open(fileName);
    if (!file) {
        plat::MessageBox(wav::kMsgCannotOpen);
        return 0;
    }
    const wav::WavResult wav = wav::ReadWav(*file);
    if (wav.error) {
        plat::MessageBox(wav.error);
        return 0;
    }
    std::vector<int16_t> frames;
    const wav::Conversion conversion =
        wav::ConvertToDevice(wav.format, *file, wav.dataOffset, wav.dataSize, &frames);
    if (conversion == wav::Conversion::kReadFailed) {
        plat::MessageBox(wav::kMsgError);
        return 0;
    }
    int handle = 0;
    if (conversion == wav::Conversion::kDone) {
        handle = plat::AudioCreateBuffer(frames.data(),
                                         static_cast<uint32_t>(frames.size() / plat::kAudioChannels));
    }
    if (handle <= 0) {
        plat::MessageBox(wav::kMsgBufferFailed);
        return 0;
    }
    return handle;
}

void CSoundBank::Play(int index) {
    plat::AudioPlay(HasSlot(index) ? slots[index] : 0, index);
}

void CSoundBank::Destroy() {
    ReleaseSlots();
    if (sound) {
        plat::AudioClose();
        sound = false;
    }
}

bool CSoundBank::IsLoaded(int index) const {
    return HasSlot(index) && slots[index] != 0;
}

void CSoundBank::ReleaseSlots() {
    for (int i = 0; i < slotCount; ++i) ReleaseSlot(i);
    slots.reset();
    slotCount = 0;
}

void CSoundBank::ReleaseSlot(int index) {
    if (slots[index] != 0) plat::AudioReleaseBuffer(slots[index]);
    slots[index] = 0;
}
