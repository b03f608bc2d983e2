#include "support/ShutdownOnExit.h"

#include <stdlib.h>

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

namespace softphone {
namespace {

std::function<void()>* gShutdown = nullptr;  // the living ShutdownOnExit's

void onExit(int status, void*) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!gShutdown || !app || QThread::currentThread() != app->thread()) return;
    const std::function<void()> shutdown = std::move(*gShutdown);
    gShutdown = nullptr;
    shutdown();
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace

ShutdownOnExit::ShutdownOnExit(std::function<void()> shutdown) : shutdown_(std::move(shutdown)) {
    static const bool registered = ::on_exit(onExit, nullptr) == 0;
    if (registered) gShutdown = &shutdown_;
}

ShutdownOnExit::~ShutdownOnExit() {
    if (gShutdown == &shutdown_) gShutdown = nullptr;
}

}  // namespace softphone
