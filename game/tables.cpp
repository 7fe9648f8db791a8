// The table fill. It is the longest step of start-up, so it avoids the two real costs of the
// obvious double loop: an arc tangent per entry, and first-touch faults on megabytes of
// fresh 4 KB pages.
// - Length and base angle depend only on |dx| and |dy|: only that quarter is kept (the
//   lookups apply the quadrant rule), in 16-bit entries.
// - The base angle is a step function of the float quotient |dy| / |dx| that rises one
//   tenth at a time; a small table of where it steps (built with the same arc tangent)
//   replaces the per-entry arc tangent with one lookup and one comparison.
// - The tables live in one private anonymous mapping (zero-filled by the system) asking
//   for huge pages; two threads share building the step table and then writing the rows,
//   every entry exactly once, with stores that bypass the cache.
#include "game/tables.h"

#include "game/trig.h"
#include "runtime/pages.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Float expressions must be evaluated in float, not in a wider type.
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must not be widened");

LookupTables tables;

int32_t RadToTenths(float radians) {
    return static_cast<int32_t>(static_cast<double>(radians) * 180.0 /
                                static_cast<double>(kAngleConstant) * 10.0);
}

float TenthsToRad(int32_t tenths) {
    return static_cast<float>(tenths) / 10.0f * kAngleConstant / 180.0f;
}

namespace {

// The base angle of a quotient q = |dy| / |dx| already rounded to float.
int32_t BaseAngleOf(float q) {
    return RadToTenths(static_cast<float>(TrigAtan(static_cast<double>(q))));
}

// std::bit_cast through the compiler's builtin: the browser build's standard library
// predates it.
template <class To, class From>
constexpr To BitCast(const From& from) {
    return __builtin_bit_cast(To, from);
}

// Every non-zero quotient lies in [1/1000, 800], inside [2^-10, 2^10). That range is cut
// into buckets of 2^14 consecutive floats (relative width 2^-9). Across one bucket the
// angle grows by at most 0.5 x ln(1 + 2^-9) rad (the slope of atan against ln q never
// exceeds 1/2), under 0.6 tenths, so the base angle steps at most once inside a bucket.
constexpr uint32_t kLowBits = BitCast<uint32_t>(0x1p-10f);
constexpr uint32_t kHighBits = BitCast<uint32_t>(0x1p10f);
constexpr int kBucketShift = 14;
constexpr int32_t kBuckets = static_cast<int32_t>((kHighBits - kLowBits) >> kBucketShift);

struct AngleSteps {
    int32_t base[kBuckets];  // base angle at the bucket's first float
    float step[kBuckets];    // first float at which it is one higher; infinity if none
};

float FloatAt(uint32_t bits) { return BitCast<float>(bits); }

// Fills buckets [first, end): their angles at the start and where each steps.
void BuildAngleSteps(AngleSteps& steps, int32_t first, int32_t end) {
    const auto startOf = [](int32_t bucket) {
        return kLowBits + (static_cast<uint32_t>(bucket) << kBucketShift);
    };
    int32_t next = BaseAngleOf(FloatAt(startOf(first)));
    for (int32_t i = first; i < end; ++i) {
        const int32_t here = next;
        next = BaseAngleOf(FloatAt(startOf(i + 1)));
        steps.base[i] = here;
        steps.step[i] = std::numeric_limits<float>::infinity();
        if (next == here) continue;
        // The angle is monotonic in q: search for the first float that has stepped.
        uint32_t below = startOf(i), above = startOf(i + 1);
        while (above - below > 1) {
            const uint32_t mid = below + (above - below) / 2;
            if (BaseAngleOf(FloatAt(mid)) > here) above = mid;
            else below = mid;
        }
        steps.step[i] = FloatAt(above);
    }
}

// Base angle of a quotient in {0} U [1/1000, 800]. Zero falls into the first bucket,
// whose angle at its start is already 0 and whose step lies above zero.
int32_t LookUpBaseAngle(const AngleSteps& steps, float q) {
    const int32_t offset = static_cast<int32_t>(BitCast<uint32_t>(q) - kLowBits);
    const int32_t bucket = offset < 0 ? 0 : offset >> kBucketShift;
    return steps.base[bucket] + (q >= steps.step[bucket] ? 1 : 0);
}

struct QuarterRow {
    int32_t distance[kMaxDy + 1];  // by |dy|
    int32_t base[kMaxDy + 1];
};

// The root of an integer is never within 1e-4 of a half, so adding 0.5 and truncating is
// exact rounding to nearest.
void WorkOutDistances(int32_t ax, int32_t* distance) {
    int32_t ay = 0;
#if defined(__SSE2__)
    // Two roots per instruction; the scalar root cannot be vectorised (it may set errno).
    const __m128d half = _mm_set1_pd(0.5);
    for (; ay + 1 <= kMaxDy; ay += 2) {
        const __m128i sums = _mm_setr_epi32(ax * ax + ay * ay, ax * ax + (ay + 1) * (ay + 1), 0, 0);
        const __m128d roots = _mm_sqrt_pd(_mm_cvtepi32_pd(sums));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(distance + ay),
                         _mm_cvttpd_epi32(_mm_add_pd(roots, half)));
    }
#endif
    for (; ay <= kMaxDy; ++ay) {
        const double root = std::sqrt(static_cast<double>(ax * ax + ay * ay));
        distance[ay] = static_cast<int32_t>(root + 0.5);
    }
}

void WorkOutQuarterRow(const AngleSteps& steps, int32_t ax, QuarterRow& row) {
    WorkOutDistances(ax, row.distance);
    if (ax == 0) {
        row.base[0] = 0;  // the zero offset's direction is 0
        for (int32_t ay = 1; ay <= kMaxDy; ++ay) row.base[ay] = 900;
        return;
    }
    const float fx = static_cast<float>(ax);
    for (int32_t ay = 0; ay <= kMaxDy; ++ay) {
        row.base[ay] = LookUpBaseAngle(steps, static_cast<float>(ay) / fx);
    }
}

// The tables are written once and not read back during the fill: stores that bypass the
// cache save reading every line in before it is overwritten.
void StreamOut(int16_t* to, const int16_t* from, size_t count) {
    size_t i = 0;
#if defined(__SSE2__)
    for (; i < count && reinterpret_cast<uintptr_t>(to + i) % 16 != 0; ++i) to[i] = from[i];
    for (; i + 8 <= count; i += 8) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + i),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
    }
#endif
    for (; i < count; ++i) to[i] = from[i];
}

// Makes the streamed stores visible before another thread may read the tables.
void FinishStreaming() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

void StoreRow(const QuarterRow& quarter, int32_t ax) {
    int16_t row[kQuarterCols];
    for (int32_t ay = 0; ay <= kMaxDy; ++ay) row[ay] = static_cast<int16_t>(quarter.distance[ay]);
    StreamOut(tables.distance + QuarterIndex(ax, 0), row, kQuarterCols);
    for (int32_t ay = 0; ay <= kMaxDy; ++ay) row[ay] = static_cast<int16_t>(quarter.base[ay]);
    StreamOut(tables.base + QuarterIndex(ax, 0), row, kQuarterCols);
}

// Writes the rows of |dx| for every ax in [firstAx, endAx).
void FillRows(const AngleSteps& steps, int32_t firstAx, int32_t endAx) {
    QuarterRow quarter;
    for (int32_t ax = firstAx; ax < endAx; ++ax) {
        WorkOutQuarterRow(steps, ax, quarter);
        StoreRow(quarter, ax);
    }
    FinishStreaming();
}

// Both tables in one zero-filled block, one after the other (the second on a cache line),
// a whole number of 2 MiB pages so that the system can back it with huge pages: a handful
// of faults instead of thousands.
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kTableSpan = (kQuarterEntries * sizeof(int16_t) + 63) / 64 * 64;
constexpr size_t kMappingBytes = (2 * kTableSpan + kHugePage - 1) / kHugePage * kHugePage;

// The work both threads share: chunks of the step table, then chunks of rows, handed out in
// turn, so that when the system holds one thread back the other takes over its share.
struct FillWork {
    AngleSteps steps;
    std::atomic<int32_t> nextBucketChunk{0};
    std::atomic<int32_t> bucketChunksDone{0};
    std::atomic<int32_t> nextAxChunk{0};
};

constexpr int32_t kBucketChunk = 512;
constexpr int32_t kBucketChunks = kBuckets / kBucketChunk;
static_assert(kBuckets % kBucketChunk == 0);
constexpr int32_t kAxChunk = 8;
constexpr int32_t kAxChunks = (kMaxDx + kAxChunk) / kAxChunk;

void TakePart(FillWork& work) {
    for (int32_t c; (c = work.nextBucketChunk.fetch_add(1)) < kBucketChunks;) {
        BuildAngleSteps(work.steps, c * kBucketChunk, (c + 1) * kBucketChunk);
        if (work.bucketChunksDone.fetch_add(1) + 1 == kBucketChunks) {
            work.bucketChunksDone.notify_all();
        }
    }
    // Every row needs the whole step table.
    for (int32_t done; (done = work.bucketChunksDone.load()) < kBucketChunks;) {
        work.bucketChunksDone.wait(done);
    }
    for (int32_t c; (c = work.nextAxChunk.fetch_add(1)) < kAxChunks;) {
        FillRows(work.steps, c * kAxChunk, std::min((c + 1) * kAxChunk, kMaxDx + 1));
    }
}

}  // namespace

namespace {

// The fill under way, between StartFillingTables and WaitForTables.
struct PendingFill {
    std::unique_ptr<FillWork> work;  // null: no fill under way
    std::thread filler;              // not joinable: the caller's thread filled
};

PendingFill pending;

// Both threads write rows, so the pages are also first touched in parallel.
void FillWithHelper(FillWork* work) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    // A browser build without threads (and without exceptions to report their absence).
    TakePart(*work);
#else
    std::thread helper;
    try {
        helper = std::thread(TakePart, std::ref(*work));
    } catch (const std::system_error&) {
        // No second thread to be had: this one takes every part.
    }
    TakePart(*work);
    if (helper.joinable()) helper.join();
#endif
}

}  // namespace

namespace {

// The zero-filled memory of both tables and the work of filling them; false when either
// cannot be had.
bool ObtainTables() {
    int16_t* memory = static_cast<int16_t*>(PagesMap(kMappingBytes));
    if (memory == nullptr) return false;
    pending.work.reset(new (std::nothrow) FillWork);
    if (!pending.work) {
        PagesUnmap(memory, kMappingBytes);
        return false;
    }
    tables.distance = memory;
    tables.base = memory + kTableSpan / sizeof(int16_t);
    return true;
}

}  // namespace

bool StartFillingTables() {
    if (tables.distance != nullptr) return true;
    if (!ObtainTables()) return false;
#if !defined(__EMSCRIPTEN__) || defined(__EMSCRIPTEN_PTHREADS__)
    try {
        pending.filler = std::thread(FillWithHelper, pending.work.get());
        return true;
    } catch (const std::system_error&) {
        // No thread to be had: the fill happens here and now.
    }
#endif
    FillWithHelper(pending.work.get());
    return true;
}

void WaitForTables() {
    if (pending.filler.joinable()) pending.filler.join();
    pending = PendingFill{};
}

bool FillTables() {
    if (!StartFillingTables()) return false;
    WaitForTables();
    return true;
}

void FreeTables() {
    WaitForTables();
    PagesUnmap(tables.distance, kMappingBytes);
    tables = {};
}
