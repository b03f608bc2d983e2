// SIP as it reaches the phone, before the engine parses it: each datagram cut to its one message,
// a TCP or TLS stream kept within bounds, and what a hostile sender would exploit dropped.
#include <gtest/gtest.h>

#include <string>

#include "app/SipDatagram.h"
#include "app/SipStream.h"

namespace softphone {
namespace {

const std::string kHead = "OPTIONS sip:a@b SIP/2.0\r\nCall-ID: x\r\n";

// A URI of `length` characters.
std::string uri(std::size_t length) { return "sip:" + std::string(length - 4, '5'); }

// `part` `count` times over.
std::string repeat(const std::string& part, int count) {
    return count ? part + repeat(part, count - 1) : "";
}

// A Record-Route of `count` hops, each as long as kamailio writes one.
std::string hops(int count) {
    return repeat(",<sip:203.0.113.5:5060;lr;ftag=a7b3c9d1e5f2;did=4f2.a1b1>", count).substr(1);
}

// Each datagram hands on one whole message, cut to its Content-Length; one that is truncated,
// ambiguous, or holds a URI or header line past the bounds a hostile sender would exploit is
// dropped, while what real proxies send (long Record-Route sets) still passes.
TEST(SipDatagram, OneWholeMessagePerDatagram) {
    using namespace std::string_literals;
    const int dropped = -1;
    const struct {
        const char* name;
        std::string datagram;
        int cut = 0;  // bytes left off its end, or dropped
    } cases[] = {
        {"keep-alive", "\r\n\r\n"},
        {"bytes past the body are cut", kHead + "Content-Length: 3\r\n\r\nabcINVITE", 6},
        {"no Content-Length: no body", kHead + "\r\nabc", 3},
        {"compact form, any case, spaces", kHead + "L :  2 \r\n\r\nab"},
        {"NUL in the body", kHead + "l: 2\r\n\r\n\0\0"s},
        {"folded line is no Content-Length", kHead + "Subject: a\r\n Content-Length: 9\r\n\r\n"},
        {"Content-Length twice", kHead + "l: 0\r\nl: 0\r\n\r\n", dropped},
        {"Content-Length too long", kHead + "Content-Length: 0000000000\r\n\r\n", dropped},
        {"header never ends", kHead + "Content-Length: 0\r\n", dropped},
        {"NUL in the header", kHead + "Subject: \0\r\n\r\n"s, dropped},
        {"URI of 512 characters", "OPTIONS " + uri(512) + " SIP/2.0\r\n\r\n"},
        {"Request-URI past 512", "OPTIONS " + uri(513) + " SIP/2.0\r\n\r\n", dropped},
        {"long URI without brackets", kHead + "From: " + uri(600) + ";tag=1\r\n\r\n", dropped},
        {"long URI in a folded line", kHead + "Route: <sip:a>,\r\n <" + uri(600) + ">\r\n\r\n",
         dropped},
        {"Record-Route set of 20 hops", kHead + "Record-Route: " + hops(20) + "\r\n\r\n"},
        {"header line past 4 KB", kHead + "Record-Route: " + hops(80) + "\r\n\r\n", dropped},
        {"long value without a URI", kHead + "Subject: " + std::string(3000, 'a') + "\r\n\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sipMessageLength(c.datagram), c.cut == dropped ? 0 : c.datagram.size() - c.cut)
            << c.name;
}

// A stream keeps within bounds however its bytes are split into reads, and once out of them
// stays out (the good message after a malformed one is not taken).
TEST(SipStream, BoundsHoldAcrossAnySplitOfTheStream) {
    const std::string good = kHead + "Content-Length: 5\r\n\r\nabcde";
    const struct {
        const char* name;
        std::string stream;
        bool within;
    } cases[] = {
        {"messages, bodies and keep-alives", "\r\n\r\n" + good + "\r\n" + good + good, true},
        {"a body that holds a blank line", kHead + "l: 8\r\n\r\n\r\n\r\nabcd" + good, true},
        {"header line that never ends", good + kHead + "Subject: " + std::string(5000, 'a'), false},
        {"header that never ends", kHead + repeat("X-Pad: " + std::string(1000, 'a') + "\r\n", 100),
         false},
        {"body larger than a message", kHead + "Content-Length: 9999999\r\n\r\n", false},
        {"malformed Content-Length", kHead + "Content-Length: 1x\r\n\r\n" + good, false},
    };
    for (const auto& c : cases) {
        SipStreamBounds whole, byteByByte;
        EXPECT_EQ(whole.take(c.stream), c.within) << c.name;
        bool within = true;
        for (char byte : c.stream) within = byteByByte.take({&byte, 1});
        EXPECT_EQ(within, c.within) << c.name << ", byte by byte";
    }
}

}  // namespace
}  // namespace softphone
