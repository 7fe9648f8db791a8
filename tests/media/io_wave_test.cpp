#include <gtest/gtest.h>

#include "io_wave_bytes.h"
#include "media/wave_reader.h"

namespace {

const Bytes kSamples = {0x00, 0x7F, 0x80, 0xFF, 0x01, 0x02, 0x03, 0x04, 0x10, 0x20, 0x30, 0x40};

TEST(WaveReader, LoadsEverySupportedLayoutWithItsSamplesUnchanged) {
    struct Layout {
        uint16_t channels;
        uint32_t rate;
        uint16_t bits;
    };
    for (Layout l : {Layout{1, 8000, 8}, Layout{2, 11025, 8}, Layout{1, 44100, 16}, Layout{2, 192000, 16}}) {
        const WaveResult r = ReadWave(Riff({Chunk("fmt ", PcmFormat(l.channels, l.rate, l.bits)), Chunk("data", kSamples)}));
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.channels, l.channels);
        EXPECT_EQ(r.sampleRate, int32_t(l.rate));
        EXPECT_EQ(r.bitsPerSample, l.bits);
        EXPECT_EQ(r.samples, kSamples);  // 12 bytes: whole frames in every layout
    }
    // Plain PCM in an extensible header.
    Bytes ext = FormatBody(0xFFFE, 2, 44100, 16, 4);
    for (uint16_t v : {22, 16, 3, 0, 1, 0, 0, 0x10, 0x80, 0xAA00, 0x3800, 0x719B}) PutU16(ext, v);
    EXPECT_TRUE(ReadWave(Riff({Chunk("fmt ", ext), Chunk("data", kSamples)})).ok);
    ext[24] = 3;  // the float sub-format
    EXPECT_FALSE(ReadWave(Riff({Chunk("fmt ", ext), Chunk("data", kSamples)})).ok);
}

TEST(WaveReader, SkipsChunksAndPadBytesBeforeTheData) {
    Bytes oddFormat = PcmFormat(1, 22050, 16);
    oddFormat.push_back(0xEE);  // 17 bytes: a pad byte follows
    const Bytes list = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 3, 0, 0, 0, 'x', 'y', 0};  // 15 bytes
    const WaveResult r = ReadWave(Riff({Chunk("fmt ", oddFormat), Chunk("LIST", list), Chunk("fact", {4, 0, 0, 0}),
                                        Chunk("data", kSamples), Chunk("junk", {0x55, 0x55})}));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.samples, kSamples);
}

TEST(WaveReader, CutsADataSizeBeyondTheFileToWholeFrames) {
    // Stereo 16 bit: 4-byte frames. 10 bytes present: 2 frames remain, however much is claimed.
    const Bytes present = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int64_t claimed : {1000ll, 0xFFFFFFFFll, 10ll}) {
        const WaveResult r = ReadWave(Riff({Chunk("fmt ", PcmFormat(2, 44100, 16)), Chunk("data", present, claimed)}));
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.samples, (Bytes{1, 2, 3, 4, 5, 6, 7, 8})) << claimed;
    }
}

TEST(WaveReader, RefusesEmptyTruncatedAndMisorderedFiles) {
    const Bytes good = Riff({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", {1, 2})});
    ASSERT_EQ(good.size(), 46u);
    for (size_t cut = 0; cut < 45; ++cut)  // every prefix that ends before the first sample
        EXPECT_FALSE(ReadWave(Bytes(good.begin(), good.begin() + std::ptrdiff_t(cut))).ok) << cut << " bytes";
    Bytes notRiff = good;
    notRiff[0] = 'X';
    EXPECT_FALSE(ReadWave(notRiff).ok);
    const Bytes fmt = Chunk("fmt ", PcmFormat(2, 8000, 16));
    EXPECT_FALSE(ReadWave(Riff({Chunk("LIST", {1, 2}), fmt, Chunk("data", {1, 2, 3, 4})})).ok) << "format not first";
    EXPECT_FALSE(ReadWave(Riff({fmt})).ok) << "no data chunk";
    EXPECT_FALSE(ReadWave(Riff({fmt, Chunk("data", {})})).ok) << "empty data";
    EXPECT_FALSE(ReadWave(Riff({fmt, Chunk("data", {1, 2, 3})})).ok) << "less than a frame";
}

TEST(WaveReader, RefusesFormatsOtherThanPlainPcm) {
    Bytes shortFormat = PcmFormat(1, 8000, 8);
    shortFormat.resize(14);
    const std::pair<const char*, Bytes> cases[] = {
        {"ADPCM", FormatBody(2, 1, 22050, 4, 256)}, {"float", FormatBody(3, 1, 44100, 32, 4)},
        {"mu-law", FormatBody(7, 1, 8000, 8, 1)},   {"24 bit", PcmFormat(1, 44100, 24)},
        {"4 bit", FormatBody(1, 1, 8000, 4, 1)},    {"no channels", FormatBody(1, 0, 8000, 8, 0)},
        {"3 channels", PcmFormat(3, 44100, 16)},    {"rate too low", PcmFormat(1, 7999, 8)},
        {"rate too high", PcmFormat(1, 192001, 16)}, {"block align", FormatBody(1, 2, 44100, 16, 2)},
        {"short format", shortFormat},
    };
    for (const auto& [what, format] : cases) {
        const WaveResult r = ReadWave(Riff({Chunk("fmt ", format), Chunk("data", kSamples)}));
        EXPECT_FALSE(r.ok) << what;
        EXPECT_FALSE(r.error.empty()) << what;
    }
}

TEST(WaveReader, RefusesChunkSizesThatRunPastTheFile) {
    const Bytes fmt = Chunk("fmt ", PcmFormat(1, 8000, 8));
    const Bytes data = Chunk("data", {1, 2});
    EXPECT_FALSE(ReadWave(Riff({Chunk("fmt ", PcmFormat(1, 8000, 8), 0xFFFFFFF0)})).ok);
    // A size that would wrap a 32-bit offset back onto the data chunk.
    EXPECT_FALSE(ReadWave(Riff({fmt, Chunk("LIST", {}, 0xFFFFFFFF), data})).ok);
    EXPECT_FALSE(ReadWave(Riff({fmt, Chunk("LIST", {}, 0xFFFFFFF6), data})).ok);
    // An odd chunk whose pad byte would lie past the end.
    EXPECT_FALSE(ReadWave(Riff({fmt, Chunk("LIST", {1, 2, 3}, 3)})).ok);
}

TEST(WaveReader, BoundsTheNumberOfChunksWalked) {
    auto withFillers = [](int32_t fillers) {
        Bytes file = Riff({Chunk("fmt ", PcmFormat(1, 8000, 8))});
        for (int32_t i = 0; i < fillers; ++i) file.insert(file.end(), {'j', 'u', 'n', 'k', 0, 0, 0, 0});
        const Bytes d = Chunk("data", {1, 2});
        file.insert(file.end(), d.begin(), d.end());
        return file;
    };
    // "fmt ", the fillers and "data": just within the bound, then one over.
    EXPECT_TRUE(ReadWave(withFillers(kWaveMaxChunks - 2)).ok);
    EXPECT_FALSE(ReadWave(withFillers(kWaveMaxChunks - 1)).ok);
    EXPECT_FALSE(ReadWave(withFillers(100000)).ok);
}

}  // namespace
