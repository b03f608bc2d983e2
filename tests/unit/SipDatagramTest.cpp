#include <gtest/gtest.h>

#include <string>

#include "app/SipDatagram.h"

namespace softphone {
namespace {

const std::string kHead = "OPTIONS sip:a@b SIP/2.0\r\nCall-ID: x\r\n";

TEST(SipDatagram, OneWholeMessagePerDatagram) {
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string datagram;
        std::size_t expected;  // bytes handed on; 0: dropped
    } cases[] = {
        {"keep-alive", "\r\n\r\n", 4},
        {"body as long as announced", kHead + "Content-Length: 3\r\n\r\nabc", kHead.size() + 24},
        {"bytes past the body are cut", kHead + "Content-Length: 3\r\n\r\nabcINVITE",
         kHead.size() + 24},
        {"no Content-Length: no body", kHead + "\r\nabc", kHead.size() + 2},
        {"compact form, any case, spaces", kHead + "L :  2 \r\n\r\nab", kHead.size() + 13},
        {"NUL in the body", kHead + "l: 2\r\n\r\n\0\0"s, kHead.size() + 10},
        {"folded line is no Content-Length", kHead + "Subject: a\r\n Content-Length: 9\r\n\r\n",
         kHead.size() + 34},
        {"body shorter than announced", kHead + "Content-Length: 99999\r\n\r\nhello", 0},
        {"Content-Length twice", kHead + "l: 0\r\nl: 0\r\n\r\n", 0},
        {"Content-Length too long", kHead + "Content-Length: 0000000000\r\n\r\n", 0},
        {"header never ends", kHead + "Content-Length: 0\r\n", 0},
        {"NUL in the header", kHead + "Subject: \0\r\n\r\n"s, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(sipMessageLength(c.datagram), c.expected) << c.name;
}

}  // namespace
}  // namespace softphone
