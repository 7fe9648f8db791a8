// Direction and distance tables: for every whole-pixel offset (dx, dy) with
// -1000 <= dx <= 1000 and -800 <= dy <= 800, its rounded length and its direction in
// tenths of a degree. Filled once at start-up so that no frame takes a root or an arc
// tangent. Also the two angle conversions between tenths of a degree and radians.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int32_t kTableRows = 2001;  // dx + 1000
inline constexpr int32_t kTableCols = 1601;  // dy + 800
inline constexpr size_t kTableEntries = static_cast<size_t>(kTableRows) * kTableCols;

// The game's angle constant: 3.1415 as a float, not pi.
inline constexpr float kAngleConstant = 3.1415f;

struct LookupTables {
    int32_t* distance = nullptr;   // kTableEntries, row-major by dx
    int32_t* direction = nullptr;  // kTableEntries
};

extern LookupTables tables;

inline size_t TableIndex(int32_t dx, int32_t dy) {
    return static_cast<size_t>(dx + 1000) * kTableCols + static_cast<size_t>(dy + 800);
}
inline int32_t distanceTable(int32_t dx, int32_t dy) { return tables.distance[TableIndex(dx, dy)]; }
inline int32_t directionTable(int32_t dx, int32_t dy) { return tables.direction[TableIndex(dx, dy)]; }

// Obtains both zero-filled tables and fills them. Safe to call again (does nothing).
// Returns false, leaving both pointers null, only when the memory cannot be had.
bool FillTables();
// Gives back the memory FillTables obtained (it only knows that memory, not pointers set
// by hand); a later FillTables starts afresh.
void FreeTables();

// trunc(r x 180 / kAngleConstant x 10) in double, in that order. Meant for angles the fill
// produces (0 to pi / 2); a value outside int32_t has no defined result.
int32_t RadToTenths(float radians);
// t / 10 x kAngleConstant / 180, every step a float operation.
float TenthsToRad(int32_t tenths);
