#pragma once

#include "app/SipEngine.h"

namespace softphone {

// Starts `engine` as soon as the event loop runs, that is behind the login dialog, so that LOGIN
// only has to register. Starting sends nothing on the network; the account comes after the login.
// The factory hands the engine over once; a failed start is reported when the window
// initialises it again.
EngineFactory warmedUpEngine(std::unique_ptr<ISipEngine> engine);

}  // namespace softphone
