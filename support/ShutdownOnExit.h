#pragma once

#include <functional>

namespace softphone {

// While one lives, exit() called anywhere on the main thread (Qt's X11 plugin calls exit(1) when
// the connection to the display breaks, from inside the event loop) first runs `shutdown`, then
// ends the process at once with the same status. The libraries' global objects are not
// destroyed on that path: the program's own threads (sound, SIP media) may still use them.
class ShutdownOnExit {
public:
    explicit ShutdownOnExit(std::function<void()> shutdown);
    ~ShutdownOnExit();
    ShutdownOnExit(const ShutdownOnExit&) = delete;
    ShutdownOnExit& operator=(const ShutdownOnExit&) = delete;

private:
    std::function<void()> shutdown_;
};

}  // namespace softphone
