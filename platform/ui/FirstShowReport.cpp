#include "platform/ui/FirstShowReport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace FirstShowReport {

void WindowPainted() {
    static bool reported = std::getenv("MURMELO_REPORT_FIRST_SHOW") == nullptr;
    if (reported)
        return;
    reported = true;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf(
        "first-show %lld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
}

} // namespace FirstShowReport
