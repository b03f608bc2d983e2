#pragma once

namespace softphone {

// SIGTERM, SIGINT and SIGHUP end the event loop normally, so the program still shuts down
// in order (the engine unregisters) when the session ends or the service stops it.
void quitOnSignals();

}  // namespace softphone
