// STUB (straightforward fill until the fast one lands)
#include "game/tables.h"
#include <cmath>
#include <cstdlib>
LookupTables tables;
int32_t RadToTenths(float r) { return static_cast<int32_t>(static_cast<double>(r) * 180.0 / static_cast<double>(kAngleConstant) * 10.0); }
float TenthsToRad(int32_t t) { return static_cast<float>(t) / 10.0f * kAngleConstant / 180.0f; }
void FillTables() {
  if (tables.distance) return;
  tables.distance = static_cast<int32_t*>(std::calloc(kTableEntries, 4));
  tables.direction = static_cast<int32_t*>(std::calloc(kTableEntries, 4));
  for (int dx = -1000; dx <= 1000; ++dx) for (int dy = -800; dy <= 800; ++dy) {
    tables.distance[TableIndex(dx, dy)] = static_cast<int32_t>(std::lround(std::sqrt(double(dx * dx + dy * dy))));
    int base = 0;
    if (dx != 0) { float q = float(double(std::abs(dy)) / double(std::abs(dx))); base = RadToTenths(float(std::atan(double(q)))); }
    else if (dy != 0) base = 900;
    int d = dx < 0 && dy >= 0 ? 1800 - base : dx < 0 ? 1800 + base : dy < 0 ? 3600 - base : base;
    if (dx == 0 && dy == 0) d = 0;
    tables.direction[TableIndex(dx, dy)] = d;
  }
}
void FreeTables() { std::free(tables.distance); std::free(tables.direction); tables = {}; }
