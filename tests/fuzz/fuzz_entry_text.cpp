// Any text as a phone-book row or a call record: the cut pieces are exactly the text around the
// first two "--", and a built entry or record cuts back to what went in.
#include <cstddef>
#include <cstdint>

#include "records/EntryText.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

QString WithoutOuterBlanks(QString text) {
    while (text.startsWith(QLatin1Char(' '))) text.remove(0, 1);
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace softphone;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const EntryParts parts = CutEntry(text);
    FUZZ_CHECK(!parts.name.contains(kEntrySeparator));
    FUZZ_CHECK(!parts.number.contains(kEntrySeparator));
    if (text.contains(kEntrySeparator))
        FUZZ_CHECK(text.startsWith(parts.name + kEntrySeparator + parts.number));
    else
        FUZZ_CHECK(parts.name == text && parts.number.isEmpty());
    FUZZ_CHECK(NumberOfRecord(text) == parts.name);

    // The two halves of the input as typed name and number.
    const QString name = WithoutOuterBlanks(text.left(text.size() / 2));
    const QString number = WithoutOuterBlanks(text.mid(text.size() / 2));
    const QString entry = BuildEntry(text.left(text.size() / 2), text.mid(text.size() / 2));
    FUZZ_CHECK(entry == name + kEntrySeparator + number);
    // The first "--" is the one put in, unless the name ends in "-" or holds "--" itself.
    if (!name.contains(kEntrySeparator) && !name.endsWith(QLatin1Char('-')) &&
        !number.contains(kEntrySeparator)) {
        const EntryParts back = CutEntry(entry);
        FUZZ_CHECK(back.name == name && back.number == number);
    }
    if (!text.contains(kEntrySeparator) && !text.endsWith(QLatin1Char('-')))
        FUZZ_CHECK(NumberOfRecord(RecentCallRecord(text, 1, 2, 3)) == text);
    return 0;
}
