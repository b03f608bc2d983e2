#include "app/StackSockets.h"

#include <dlfcn.h>
#include <fcntl.h>

#include <cstring>
#include <set>

namespace {

// The descriptors the stack's last wait named, recorded while a pass runs on this thread.
thread_local std::vector<pollfd>* gRecording = nullptr;

bool calledByStack(const void* caller) {
    Dl_info info{};
    return ::dladdr(caller, &info) != 0 && info.dli_fname &&
           std::strstr(info.dli_fname, "libbellesip") != nullptr;
}

}  // namespace

// belle-sip tells no one which descriptors its main loop waits on; it polls them once per
// Core::iterate(). The program's poll comes first in the process's symbol lookup (the build
// exports it), reads the set when belle-sip is the caller during a pass, and hands every call
// on unchanged. It can go once liblinphone lets a program drive its main loop from outside.
extern "C" int poll(pollfd* fds, nfds_t count, int timeout) {
    using Poll = int (*)(pollfd*, nfds_t, int);
    static const auto real = reinterpret_cast<Poll>(::dlsym(RTLD_NEXT, "poll"));
    if (gRecording && calledByStack(__builtin_return_address(0)))
        gRecording->assign(fds, fds + count);
    return real(fds, count, timeout);
}

namespace softphone {

void StackSockets::iterate(const std::function<void()>& pass) {
    std::vector<pollfd> waits;
    gRecording = &waits;
    pass();
    gRecording = nullptr;
    // A pass that never reached the wait changes nothing.
    if (!waits.empty()) follow(waits);
}

void StackSockets::clear() { notifiers_.clear(); }

void StackSockets::follow(const std::vector<pollfd>& waits) {
    std::set<std::pair<int, QSocketNotifier::Type>> wanted;
    for (const pollfd& wait : waits) {
        if (wait.fd < 0) continue;
        if (wait.events & POLLIN) wanted.insert({wait.fd, QSocketNotifier::Read});
        if (wait.events & POLLOUT) wanted.insert({wait.fd, QSocketNotifier::Write});
    }
    std::erase_if(notifiers_, [&](const auto& entry) { return !wanted.contains(entry.first); });
    for (const auto& key : wanted) {
        auto& notifier = notifiers_[key];
        // The event loop disables a notifier whose descriptor was closed under it; the stack
        // may since have opened another one under the same number.
        if (notifier && notifier->isEnabled()) continue;
        // The stack opens its sockets without close-on-exec; a program the phone starts (the
        // browser the banner opens) would hold them, and with them a TCP or TLS connection to the
        // proxy that then outlives the phone.
        ::fcntl(key.first, F_SETFD, ::fcntl(key.first, F_GETFD) | FD_CLOEXEC);
        notifier = std::make_unique<QSocketNotifier>(key.first, key.second);
        connect(notifier.get(), &QSocketNotifier::activated, this, &StackSockets::ready);
    }
}

}  // namespace softphone
