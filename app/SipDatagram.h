#pragma once

#include <cstddef>
#include <string_view>

namespace softphone {

// Over UDP each datagram carries exactly one SIP message (RFC 3261 section 18.3). Returns how
// many leading bytes of `datagram` make that message: the header and Content-Length bytes of
// body; bytes past the body are not part of it. Returns 0 for a datagram that holds no whole
// message: a Content-Length larger than the body, a malformed or repeated Content-Length, a
// header that never ends or holds a NUL, a header past the bounds of SipBounds.h. A keep-alive
// (only CR and LF) is returned whole.
std::size_t sipMessageLength(std::string_view datagram);

// The SIP engine reads each datagram that arrives on UDP `port` of this process as one message
// cut to SipMessageLength; a datagram that holds none reaches it as a keep-alive. The engine
// parses UDP as a stream, so without this one short datagram leaves the sender's channel waiting
// for the rest of a body, deaf to that address.
void guardSipPort(int port);
void unguardSipPort(int port);

}  // namespace softphone
