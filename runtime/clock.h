// The millisecond clock and sleep. TickMs wraps at 2^32 like a system uptime counter;
// callers compare readings by their signed difference.
#pragma once

#include <cstdint>
#include <string>

uint32_t TickMs();
void SleepMs(uint32_t ms);
// The date and time now, as "YYYY-MM-DD HH:MM:SS UTC" (empty if the system has none).
std::string UtcNowText();

// True when clock reading a lies after b, wrap-safe across 2^31 and 2^32.
inline bool ClockAfter(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) > 0;
}
