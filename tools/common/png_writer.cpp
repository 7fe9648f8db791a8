#include "tools/common/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

#include "runtime/paths.h"

namespace {

// Keeps the rows within reason: a screenshot is 1.4 MB, a contact sheet a few more.
constexpr int64_t kMaxRawBytes = int64_t{1} << 30;

// libpng reports through callbacks that leave by longjmp; the reason waits here.
struct PngFailure {
    char text[200] = "";
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->text, sizeof failure->text, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}  // nothing a tool's user could act on

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bool grown = true;
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    // Only after the handler: a longjmp must not skip the exception's clean-up.
    if (!grown) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}  // libpng's default would take the vector for a FILE

// Every libpng call that may longjmp back here, with plain C values only: the longjmp
// skips no destructor. `row` holds width * 3 bytes.
bool WriteRows(png_structp png, png_infop info, int32_t width, int32_t height, const uint32_t* pixels,
               png_bytep row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* from = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<png_byte>(from[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(from[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(from[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// Null when the picture can be encoded.
const char* BadArguments(int32_t width, int32_t height, const uint32_t* pixels) {
    if (width <= 0 || height <= 0) return "picture size must be positive";
    if (!pixels) return "no pixels";
    if ((1 + int64_t{width} * 3) * height > kMaxRawBytes) return "picture too large";
    return nullptr;
}

}  // namespace

bool EncodePng(int32_t width, int32_t height, const uint32_t* pixels, std::vector<uint8_t>* out,
               std::string* error) {
    if (const char* why = BadArguments(width, height, pixels)) return Fail(error, why);
    if (!out) return Fail(error, "no output");
    out->clear();
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    PngFailure failure;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Fail(error, "libpng could not start");
    }
    png_set_write_fn(png, out, AppendToVector, FlushNothing);
    const bool ok = WriteRows(png, info, width, height, pixels, row.data());
    png_destroy_write_struct(&png, &info);
    return ok || Fail(error, std::string("libpng: ") + failure.text);
}

// Encoded in memory first: a picture that cannot be encoded leaves no file behind.
bool WritePng(const char* path, int32_t width, int32_t height, const uint32_t* pixels, std::string* error) {
    if (!path) return Fail(error, "no file name");
    std::vector<uint8_t> bytes;
    if (!EncodePng(width, height, pixels, &bytes, error)) return false;
    std::FILE* file = OpenFile(path, "wb");
    if (!file) return Fail(error, std::string("cannot open ") + path + " for writing");
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return (written && closed) || Fail(error, std::string("cannot write ") + path);
}
