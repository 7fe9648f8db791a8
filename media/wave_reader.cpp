// The RIFF WAVE reader. Every offset and size is checked against the real length of
// the buffer (never against the RIFF size field) in 64-bit arithmetic, so a hostile
// size can neither wrap around nor move the walk outside the file.
#include "media/wave_reader.h"

#include <algorithm>

#include "media/byte_reader.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kFormatFields = 16;      // tag .. bits per sample
constexpr size_t kExtensibleFields = 40;  // + extension size, valid bits, mask, sub-format

struct WaveFormat {
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t blockAlign = 0;
    uint16_t bits = 0;
};

WaveResult Fail(const char* why) {
    WaveResult r;
    r.error = why;
    return r;
}

// The sub-format of an extensible header that means plain integer PCM.
bool IsPcmSubFormat(std::span<const uint8_t> guid) {
    static constexpr uint8_t kPcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                         0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    return guid.size() == 16 && std::equal(guid.begin(), guid.end(), kPcm);
}

// Reads the format chunk body at `at` of `size` bytes; the caller has checked it fits.
// Returns an error text, or nullptr when the format is one we play.
const char* ReadFormat(const ByteReader& r, size_t at, size_t size, WaveFormat& f) {
    if (size < kFormatFields) return "the format chunk is too short";
    f.tag = *r.U16(at);
    f.channels = *r.U16(at + 2);
    f.rate = *r.U32(at + 4);
    f.blockAlign = *r.U16(at + 12);
    f.bits = *r.U16(at + 14);
    if (f.tag == kFormatExtensible) {
        // Extensible headers also carry plain PCM; anything else in them is compressed.
        if (size < kExtensibleFields) return "the extensible format chunk is too short";
        if (*r.U16(at + 16) < kExtensibleFields - 18) return "the format extension is too short";
        uint16_t validBits = *r.U16(at + 18);
        if (!IsPcmSubFormat(r.Slice(at + 24, 16))) return "not uncompressed PCM";
        if (validBits != f.bits) return "unsupported sample container";
    } else if (f.tag != kFormatPcm) {
        return "not uncompressed PCM";
    }
    if (f.channels != 1 && f.channels != 2) return "only mono and stereo are supported";
    if (f.bits != 8 && f.bits != 16) return "only 8 and 16 bits per sample are supported";
    if (f.rate < kWaveMinRate || f.rate > kWaveMaxRate) return "sample rate out of range";
    if (f.blockAlign != f.channels * (f.bits / 8)) return "block alignment does not match the format";
    return nullptr;
}

// Offset of the chunk after the one whose body starts at `body`: the size is followed
// by a pad byte when odd. 64-bit, so no 32-bit size can wrap it.
uint64_t NextChunk(uint64_t body, uint32_t size) {
    return body + size + (size & 1u);
}

}  // namespace

WaveResult ReadWave(std::span<const uint8_t> file) {
    const ByteReader r{file};
    if (!r.TagIs(0, "RIFF")) return Fail("not a RIFF file");
    if (!r.Has(8, 4)) return Fail("the file is truncated");
    if (!r.TagIs(12, "fmt ")) return Fail("the first chunk is not a format chunk");
    auto fmtSize = r.U32(16);
    if (!fmtSize || !r.Has(20, *fmtSize)) return Fail("the format chunk runs past the end of the file");

    WaveFormat format;
    if (const char* why = ReadFormat(r, 20, *fmtSize, format)) return Fail(why);

    // The samples are in the "data" chunk wherever it lies; chunks before it (a "LIST"
    // of tags, "fact", "cue " ...) are stepped over, not played.
    uint64_t offset = NextChunk(20, *fmtSize);
    for (int32_t walked = 1;; ++walked) {
        if (walked >= kWaveMaxChunks) return Fail("too many chunks before the data chunk");
        if (offset > r.Size() || !r.Has(static_cast<size_t>(offset), 8)) return Fail("no data chunk");
        const size_t at = static_cast<size_t>(offset);
        const uint32_t size = *r.U32(at + 4);
        if (r.TagIs(at, "data")) {
            // A size beyond the end of the file is cut to what the file holds, then to
            // whole sample frames, so a truncated download still plays what it has.
            size_t length = std::min<size_t>(size, r.Size() - (at + 8));
            length -= length % format.blockAlign;
            if (length == 0) return Fail("the data chunk holds no samples");
            auto body = r.Slice(at + 8, length);
            WaveResult result;
            result.ok = true;
            result.channels = format.channels;
            result.sampleRate = static_cast<int32_t>(format.rate);
            result.bitsPerSample = format.bits;
            result.samples = body;
            return result;
        }
        offset = NextChunk(offset + 8, size);
    }
}
