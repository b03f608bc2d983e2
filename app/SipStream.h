#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace softphone {

// Follows one SIP stream over TCP or TLS, whose messages a Content-Length frames (RFC 3261
// section 18.3), and tells when it leaves the bounds of SipBounds.h: a header past them, a header
// that does not end within a message's bound, a malformed Content-Length or a body larger than
// a message may be. The program closes such a connection before the engine's parser sees the
// message; the engine then registers again over a fresh one.
class SipStreamBounds {
public:
    // Whether the stream, with `bytes` arriving next, still keeps within the bounds. Once it
    // has not, it never does again.
    bool take(std::string_view bytes);

private:
    bool takeHeader(std::string_view& bytes);

    std::string header_;  // of the message under way, as far as it has arrived
    std::size_t bodyLeft_ = 0;
    bool broken_ = false;
};

// How many connections of this process have been closed for breaking the bounds, so far. The
// engine then registers again at once: its registration holds no transaction that would notice.
unsigned closedSipStreams();

}  // namespace softphone
