// Direction and distance tables: for every whole-pixel offset (dx, dy) with
// -1000 <= dx <= 1000 and -800 <= dy <= 800, its rounded length and its direction in
// tenths of a degree. Filled once at start-up so that no frame takes a root or an arc
// tangent. Also the two angle conversions between tenths of a degree and radians.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int32_t kMaxDx = 1000;
inline constexpr int32_t kMaxDy = 800;
inline constexpr int32_t kQuarterCols = kMaxDy + 1;  // by |dy|
inline constexpr size_t kQuarterEntries = static_cast<size_t>(kMaxDx + 1) * kQuarterCols;

// The game's angle constant: 3.1415 as a float, not pi.
inline constexpr float kAngleConstant = 3.1415f;

// Only a quarter of each table is kept, by |dx| and |dy|: a length is the same in every
// quadrant, and a direction follows from the first quadrant's by the quadrant rule. That
// is a quarter of the memory to have zeroed and written at start-up, and 16 bits an entry
// are enough (lengths up to 1281, base directions up to 900).
struct LookupTables {
    int16_t* distance = nullptr;  // kQuarterEntries, row-major by |dx|
    int16_t* base = nullptr;      // kQuarterEntries: the direction of (|dx|, |dy|)
};

extern LookupTables tables;

inline size_t QuarterIndex(int32_t dx, int32_t dy) {
    return static_cast<size_t>(dx < 0 ? -dx : dx) * kQuarterCols + static_cast<size_t>(dy < 0 ? -dy : dy);
}
inline int32_t distanceTable(int32_t dx, int32_t dy) { return tables.distance[QuarterIndex(dx, dy)]; }
// The quadrant rule: dx < 0 gives 1800 - base (dy >= 0) or 1800 + base; dx >= 0 gives
// 3600 - base (dy < 0) or base.
inline int32_t directionTable(int32_t dx, int32_t dy) {
    const int32_t base = tables.base[QuarterIndex(dx, dy)];
    if (dx < 0) return dy < 0 ? 1800 + base : 1800 - base;
    return dy < 0 ? 3600 - base : base;
}

// Obtains both zero-filled tables and fills them. Safe to call again (does nothing).
// Returns false, leaving both pointers null, only when the memory cannot be had.
bool FillTables();
// The same in two halves, so that start-up can do other work meanwhile: the memory is
// obtained at once (false as above), the fill runs on threads of its own, and nothing may
// read the tables before WaitForTables has returned.
bool StartFillingTables();
void WaitForTables();
// Gives back the memory FillTables obtained (it only knows that memory, not pointers set
// by hand); a later FillTables starts afresh.
void FreeTables();

// trunc(r x 180 / kAngleConstant x 10) in double, in that order. Meant for angles the fill
// produces (0 to pi / 2); a value outside int32_t has no defined result.
int32_t RadToTenths(float radians);
// t / 10 x kAngleConstant / 180, every step a float operation.
float TenthsToRad(int32_t tenths);
