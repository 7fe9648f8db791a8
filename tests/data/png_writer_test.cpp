// The PNG writer: checksums against published check values, a tiny file against bytes
// made by an independent zlib, and a larger file taken apart chunk by chunk and stored
// block by stored block to get the pixels back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/common/png_writer.h"

namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

uint32_t U32Be(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
    uint32_t storedCrc = 0;
    uint32_t computedCrc = 0;
};

// Splits a PNG after its signature into chunks; fails the test on a truncated file.
std::vector<Chunk> Chunks(const std::vector<uint8_t>& png) {
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at < png.size()) {
        EXPECT_LE(at + 12, png.size());
        if (at + 12 > png.size()) break;
        const uint32_t len = U32Be(png, at);
        EXPECT_LE(at + 12 + len, png.size());
        if (at + 12 + len > png.size()) break;
        Chunk c;
        c.type.assign(png.begin() + at + 4, png.begin() + at + 8);
        c.data.assign(png.begin() + at + 8, png.begin() + at + 8 + len);
        c.storedCrc = U32Be(png, at + 8 + len);
        c.computedCrc = PngCrc32(std::span<const uint8_t>(png.data() + at + 4, 4 + len));
        chunks.push_back(c);
        at += 12 + len;
    }
    return chunks;
}

// Reads a zlib stream of stored blocks back into its data; counts the blocks.
std::vector<uint8_t> Unstore(const std::vector<uint8_t>& z, int* blocks) {
    std::vector<uint8_t> out;
    EXPECT_GE(z.size(), 2u + 5u + 4u);
    EXPECT_EQ(z[0] & 0x0F, 8) << "deflate";
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0) << "zlib header check bits";
    EXPECT_EQ(z[1] & 0x20, 0) << "no preset dictionary";
    size_t at = 2;
    bool final = false;
    *blocks = 0;
    while (!final && at + 5 <= z.size()) {
        final = z[at] & 1;
        EXPECT_EQ((z[at] >> 1) & 3, 0) << "stored block";
        const uint16_t len = static_cast<uint16_t>(z[at + 1] | (z[at + 2] << 8));
        const uint16_t nlen = static_cast<uint16_t>(z[at + 3] | (z[at + 4] << 8));
        EXPECT_EQ(static_cast<uint16_t>(~len), nlen);
        at += 5;
        if (at + len > z.size()) {
            ADD_FAILURE() << "block runs past the stream";
            break;
        }
        out.insert(out.end(), z.begin() + at, z.begin() + at + len);
        at += len;
        ++*blocks;
    }
    EXPECT_TRUE(final) << "the last block must be marked final";
    EXPECT_EQ(at + 4, z.size()) << "Adler-32 must close the stream";
    if (at + 4 <= z.size()) {
        EXPECT_EQ(U32Be(z, at), PngAdler32(out));
    }
    return out;
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(PngChecksums, MatchPublishedCheckValues) {
    EXPECT_EQ(PngCrc32(Bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(PngCrc32({}), 0u);
    EXPECT_EQ(PngAdler32(Bytes("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(PngAdler32({}), 1u);
    // Long runs of 0xFF make the Adler sums wrap; values from an independent zlib.
    const std::vector<uint8_t> ones(100000, 0xFF);
    EXPECT_EQ(PngAdler32(ones), 0x149A302Cu);
    EXPECT_EQ(PngCrc32(ones), 0x68C6CEC4u);
}

TEST(PngWriter, TinyPictureMatchesIndependentlyBuiltFile) {
    const uint32_t pixels[2] = {0xFF0000, 0x00FF00};
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(EncodePng(2, 1, pixels, &png, &error)) << error;
    const std::vector<uint8_t> expected = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
        0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x7B,
        0x40, 0xE8, 0xDD, 0x00, 0x00, 0x00, 0x12, 0x49, 0x44, 0x41, 0x54, 0x78, 0x01, 0x01, 0x07,
        0x00, 0xF8, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x07, 0xFF, 0x01, 0xFF, 0xC5,
        0x0E, 0xE2, 0x6A, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    EXPECT_EQ(png, expected);
}

TEST(PngWriter, LargePictureRoundTripsThroughSeveralStoredBlocks) {
    // 300 x 100 RGB rows take 90100 bytes: more than one stored block can hold.
    constexpr int32_t kW = 300, kH = 100;
    std::vector<uint32_t> pixels(kW * kH);
    for (int32_t y = 0; y < kH; ++y)
        for (int32_t x = 0; x < kW; ++x)
            pixels[y * kW + x] = (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y) << 8) |
                                 static_cast<uint32_t>((x * 7 + y * 3) & 0xFF);
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(EncodePng(kW, kH, pixels.data(), &png, &error)) << error;

    const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GE(png.size(), 8u);
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));

    const std::vector<Chunk> chunks = Chunks(png);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    for (const Chunk& c : chunks) EXPECT_EQ(c.storedCrc, c.computedCrc) << c.type;

    const std::vector<uint8_t>& ihdr = chunks[0].data;
    ASSERT_EQ(ihdr.size(), 13u);
    EXPECT_EQ(U32Be(ihdr, 0), 300u);
    EXPECT_EQ(U32Be(ihdr, 4), 100u);
    EXPECT_EQ(ihdr[8], 8) << "bit depth";
    EXPECT_EQ(ihdr[9], 2) << "truecolour";
    EXPECT_EQ(ihdr[10], 0);
    EXPECT_EQ(ihdr[11], 0);
    EXPECT_EQ(ihdr[12], 0) << "not interlaced";
    EXPECT_TRUE(chunks[2].data.empty());

    int blocks = 0;
    const std::vector<uint8_t> raw = Unstore(chunks[1].data, &blocks);
    EXPECT_EQ(blocks, 2);
    ASSERT_EQ(raw.size(), static_cast<size_t>(kH) * (1 + kW * 3));
    for (int32_t y = 0; y < kH; ++y) {
        const uint8_t* row = raw.data() + static_cast<size_t>(y) * (1 + kW * 3);
        ASSERT_EQ(row[0], 0) << "filter type of row " << y;
        for (int32_t x = 0; x < kW; ++x) {
            const uint32_t back = (uint32_t{row[1 + 3 * x]} << 16) | (uint32_t{row[2 + 3 * x]} << 8) | row[3 + 3 * x];
            ASSERT_EQ(back, pixels[y * kW + x]) << "pixel " << x << "," << y;
        }
    }
}

TEST(PngWriter, WritesTheEncodedBytesToTheFile) {
    const uint32_t pixels[6] = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x000000};
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "dreel_png_writer_test.png";
    std::string error;
    ASSERT_TRUE(WritePng(path.string().c_str(), 3, 2, pixels, &error)) << error;
    std::vector<uint8_t> expected;
    ASSERT_TRUE(EncodePng(3, 2, pixels, &expected, &error));
    EXPECT_EQ(ReadAll(path), expected);
    std::filesystem::remove(path);
}

TEST(PngWriter, RefusesBadArgumentsWithAReason) {
    const uint32_t pixel = 0xFFFFFF;
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(EncodePng(0, 1, &pixel, &out, &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(EncodePng(1, -3, &pixel, &out, &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(EncodePng(1, 1, nullptr, &out, &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(EncodePng(100000, 100000, &pixel, &out, &error)) << "would need 30 GB";
    EXPECT_FALSE(error.empty());

    error.clear();
    const std::filesystem::path nowhere = std::filesystem::temp_directory_path() / "dreel_no_such_dir" / "x.png";
    EXPECT_FALSE(WritePng(nowhere.string().c_str(), 1, 1, &pixel, &error));
    EXPECT_NE(error.find("x.png"), std::string::npos) << error;
    EXPECT_FALSE(WritePng(nullptr, 1, 1, &pixel, nullptr)) << "no error text wanted is fine";
}
