#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace softphone::test {

// A private headless weston compositor (software rendering, so screenshots hold real pixels)
// with its socket in a folder of its own; stopped by its PID when the object goes.
class WestonDisplay {
public:
    WestonDisplay();
    ~WestonDisplay();
    bool Started() const { return started_; }
    // The system environment with Qt's native Wayland platform on this compositor.
    QProcessEnvironment Environment() const;
    // The whole screen as the compositor shows it; null on failure.
    QImage Screenshot() const;

private:
    QTemporaryDir runtime_;
    QProcess weston_;
    bool started_ = false;
};

}  // namespace softphone::test
