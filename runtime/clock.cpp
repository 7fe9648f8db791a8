#include "runtime/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

uint32_t TickMs() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

void SleepMs(uint32_t ms) {
#ifdef __EMSCRIPTEN__
    // In a browser the sleep hands the thread back to the page (the build unwinds and
    // rewinds the stack around it), so drawing, sound and input carry on meanwhile.
    emscripten_sleep(ms);
#else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
#endif
}

std::string UtcNowText() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    char text[32] = "";
#ifdef _WIN32
    const bool known = gmtime_s(&utc, &now) == 0;  // Windows' own thread-safe form
#else
    const bool known = gmtime_r(&now, &utc) != nullptr;
#endif
    if (known) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}
