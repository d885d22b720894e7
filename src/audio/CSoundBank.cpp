#include "audio/CSoundBank.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "audio/WavConvert.h"
#include "audio/WavReader.h"
#include "platform/Platform.h"

namespace {

// Closes the descriptor on every path out of the read.
class FileHandle {
public:
    explicit FileHandle(const char* fileName) : m_nFile(::open(fileName, O_RDONLY | O_CLOEXEC)) {}
    ~FileHandle() {
        if (m_nFile >= 0) ::close(m_nFile);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return m_nFile; }

private:
    int m_nFile;
};

// The whole file, never more bytes than it really holds. Null, or the message of the failure.
const char* ReadWholeFile(const char* fileName, std::vector<uint8_t>* bytes) {
    FileHandle file(fileName);
    struct stat info {};
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) return wav::kMsgCannotOpen;
    bytes->resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < bytes->size()) {
        const ssize_t got = ::read(file.fd(), bytes->data() + done, bytes->size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return wav::kMsgError;
        if (got == 0) break;  // the file shrank since it was measured
        done += static_cast<size_t>(got);
    }
    bytes->resize(done);
    return nullptr;
}

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
    std::vector<uint8_t> bytes;
    if (const char* error = ReadWholeFile(fileName, &bytes)) {
        plat::MessageBox(error);
        return 0;
    }
    const wav::WavResult wav = wav::ReadWav(bytes.data(), bytes.size());
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
