#include "audio/CSoundBank.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "audio/WavConvert.h"
#include "audio/WavReader.h"
#include "platform/Platform.h"

namespace {

// The file's bytes, mapped rather than read: only the chunks the reader visits are ever loaded, so
// a file far larger than memory costs no more than a small one. Unmapped and closed on every path out.
class MappedFile {
public:
    explicit MappedFile(const char* fileName) : m_nFile(::open(fileName, O_RDONLY | O_CLOEXEC)) {
        struct stat info {};
        if (m_nFile < 0 || ::fstat(m_nFile, &info) != 0 || !S_ISREG(info.st_mode)) {
            m_pError = wav::kMsgCannotOpen;
            return;
        }
        m_nSize = static_cast<size_t>(info.st_size);
        if (m_nSize == 0) return;  // nothing to map; the reader finds no RIFF chunk
        void* bytes = ::mmap(nullptr, m_nSize, PROT_READ, MAP_PRIVATE, m_nFile, 0);
        if (bytes == MAP_FAILED) {
            m_nSize = 0;
            m_pError = wav::kMsgError;
            return;
        }
        m_pBytes = static_cast<const uint8_t*>(bytes);
    }
    ~MappedFile() {
        if (m_pBytes) ::munmap(const_cast<uint8_t*>(m_pBytes), m_nSize);
        if (m_nFile >= 0) ::close(m_nFile);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Null, or the message of the failure.
    const char* Error() const { return m_pError; }
    const uint8_t* Bytes() const { return m_pBytes; }
    size_t Size() const { return m_nSize; }

private:
    int m_nFile;
    const uint8_t* m_pBytes = nullptr;
    size_t m_nSize = 0;
    const char* m_pError = nullptr;
};

}  // namespace

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

// A new buffer's handle, or 0 after the failed step's message.
int CSoundBank::LoadBuffer(const char* fileName) {
    const MappedFile file(fileName);
    if (file.Error()) {
        plat::MessageBox(file.Error());
        return 0;
    }
    const wav::WavResult wav = wav::ReadWav(file.Bytes(), file.Size());
    if (wav.error) {
        plat::MessageBox(wav.error);
        return 0;
    }
    std::vector<int16_t> frames;
    int handle = 0;
    if (wav::ConvertToDevice(wav.format, wav.data, &frames)) {
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
