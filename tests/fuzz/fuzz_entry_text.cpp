// Any text as a phone-book row or a call record: a row cuts at its last "--", a record at its
// first, and a built entry or record cuts back to what went in.
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
    FUZZ_CHECK(!parts.number.contains(kEntrySeparator));
    if (text.contains(kEntrySeparator))
        FUZZ_CHECK(text == parts.name + kEntrySeparator + parts.number);
    else
        FUZZ_CHECK(parts.name == text && parts.number.isEmpty());
    const QString recordNumber = NumberOfRecord(text);
    FUZZ_CHECK(!recordNumber.contains(kEntrySeparator));
    if (text.contains(kEntrySeparator))
        FUZZ_CHECK(text.startsWith(recordNumber + kEntrySeparator));
    else
        FUZZ_CHECK(recordNumber == text);

    // The two halves of the input as typed name and number.
    const QString name = WithoutOuterBlanks(text.left(text.size() / 2));
    const QString number = WithoutOuterBlanks(text.mid(text.size() / 2));
    const QString entry = BuildEntry(text.left(text.size() / 2), text.mid(text.size() / 2));
    FUZZ_CHECK(entry == name + kEntrySeparator + number);
    // The last "--" is the one put in, unless the number holds "--" or starts with "-".
    if (!number.contains(kEntrySeparator) && !number.startsWith(QLatin1Char('-'))) {
        const EntryParts back = CutEntry(entry);
        FUZZ_CHECK(back.name == name && back.number == number);
    }
    if (!text.contains(kEntrySeparator) && !text.endsWith(QLatin1Char('-')))
        FUZZ_CHECK(NumberOfRecord(RecentCallRecord(text, 1, 2, 3)) == text);
    return 0;
}
