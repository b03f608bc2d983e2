// Any text as a written number or a link: what the number field gets is digits, "*" and "#"
// only, never longer than the limit, empty exactly when refused, and unchanged by a second clean.
#include <cassert>

#include "support/WrittenNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace softphone;
    const QString text = QString::fromUtf8(QByteArrayView(data, qsizetype(size)));
    for (const QString prefix : {QStringLiteral("00"), QStringLiteral("011"), QString()}) {
        const CleanNumber clean = cleanNumber(text, prefix);
        assert(clean.number.size() <= kLongestCleanNumber);
        assert(bool(clean) == !clean.number.isEmpty());
        for (const QChar c : clean.number) assert(QStringLiteral("0123456789*#").contains(c));
        if (clean) assert(cleanNumber(clean.number, prefix).number == clean.number);
    }
    return 0;
}
