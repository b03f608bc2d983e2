// SIP as it reaches the phone, before the engine parses it: each datagram cut to its one message,
// a TCP or TLS stream kept within bounds, and what a hostile sender would exploit dropped. The
// samples are files under tests/data/sip, their expectation the first word of their name.
#include <gtest/gtest.h>

#include <QDir>

#include "app/SipDatagram.h"
#include "app/SipStream.h"
#include "tests/support/Child.h"

namespace softphone::test {
namespace {

// The samples of tests/data/sip/`kind` by name, with their bytes; all `count` of them.
QList<std::pair<QString, std::string>> samples(const QString& kind, qsizetype count) {
    const QDir dir(SOFTPHONE_SOURCE_DIR "/tests/data/sip/" + kind);
    QList<std::pair<QString, std::string>> found;
    for (const QString& name : dir.entryList({"*.sip"}, QDir::Files))
        found.append({name, fileBytes(dir.filePath(name)).toStdString()});
    EXPECT_EQ(found.size(), count) << qPrintable(dir.path());
    return found;
}

// Each datagram hands on one whole message, cut to its Content-Length ("cut6": 6 bytes past
// it); one that is truncated, ambiguous, or holds a URI or header line past the bounds a hostile
// sender would exploit is dropped, while what real proxies send (long Record-Route sets) passes.
TEST(SipDatagram, OneWholeMessagePerDatagram) {
    for (const auto& [name, datagram] : samples("datagram", 17)) {
        const QString expected = name.section('-', 0, 0);
        bool named = true;
        const std::size_t cut = expected == "whole"     ? 0
                                : expected == "dropped" ? datagram.size()
                                                        : expected.mid(3).toUInt(&named);
        EXPECT_EQ(std::pair(named, sipMessageLength(datagram)),
                  std::pair(true, datagram.size() - cut))
            << qPrintable(name);
    }
}

// A stream keeps "within" bounds or goes "beyond" them however its bytes are split into reads,
// and once out of them stays out (the good message after a malformed one is not taken).
TEST(SipStream, BoundsHoldAcrossAnySplitOfTheStream) {
    for (const auto& [name, stream] : samples("stream", 6)) {
        const bool within = name.startsWith("within-");
        ASSERT_TRUE(within || name.startsWith("beyond-")) << qPrintable(name);
        SipStreamBounds whole, byteByByte;
        bool byteByByteWithin = true;
        for (char byte : stream) byteByByteWithin = byteByByte.take({&byte, 1});
        EXPECT_EQ(std::pair(whole.take(stream), byteByByteWithin), std::pair(within, within))
            << qPrintable(name);
    }
}

}  // namespace
}  // namespace softphone::test
