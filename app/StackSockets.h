#pragma once

#include <poll.h>

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace softphone {

// Watches the descriptors the SIP stack waits on, so that the event loop runs the engine as
// soon as a datagram, a stream's bytes or a finished name lookup is there, instead of on the
// next tick of a clock. Those descriptors are closed in the programs the phone starts.
class StackSockets : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Runs one pass of the stack and then watches what that pass waited on.
    void iterate(const std::function<void()>& pass);
    // Stops watching, before the stack closes its descriptors.
    void clear();

signals:
    void ready();  // a descriptor the stack waits on can be read or written

private:
    void follow(const std::vector<pollfd>& waits);

    std::map<std::pair<int, QSocketNotifier::Type>, std::unique_ptr<QSocketNotifier>> notifiers_;
};

}  // namespace softphone
