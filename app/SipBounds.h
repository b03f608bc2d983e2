#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace softphone {

// Bounds on one SIP message, far above what real peers send and far below what costs the
// engine's parser time: its grammar takes time in the square of a URI's length (0.4 s of CPU
// for a 3,000-character URI, 0.8 s in a Refer-To).
// - A URI: 512 characters. Telephone numbers, hosts, GRUUs, Replaces in a Refer-To and the
//   parameters proxies add to a Record-Route stay under 300; 512 costs the parser about 10 ms.
// - A header line, continuation lines included: 4 KB. A Record-Route or Via set of 20 hops in
//   one line, an Authorization with every parameter, an Identity with its token fit.
// - The start line: a URI and its method and version.
// - A whole message: 64 KB, as large as a UDP datagram can be (an SDP body of many codecs and
//   candidates is a few KB).
constexpr std::size_t kMaxSipUri = 512;
constexpr std::size_t kMaxSipHeaderLine = 4096;
constexpr std::size_t kMaxSipStartLine = kMaxSipUri + 64;
constexpr std::size_t kMaxSipMessage = 65535;

// Whether `header` (the start line and the header lines of one message, lines ending in CRLF)
// keeps within the bounds above.
bool withinSipBounds(std::string_view header);

// The body length that `headerLines` (the header lines of one message, without its start line)
// announce: none when absent, -1 when malformed or given twice.
std::optional<long> sipContentLength(std::string_view headerLines);

}  // namespace softphone
