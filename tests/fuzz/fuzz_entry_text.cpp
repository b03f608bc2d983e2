// Any text as a phone-book row or a call record: a row cuts at its last "--", a record at its
// first, and a built entry or record cuts back to what went in.
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "records/EntryText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace softphone;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const EntryParts parts = cutEntry(text);
    assert(!parts.number.contains(kEntrySeparator));
    if (text.contains(kEntrySeparator))
        assert(text == parts.name + kEntrySeparator + parts.number);
    else
        assert(parts.name == text && parts.number.isEmpty());
    const QString recordNumber = numberOfRecord(text);
    assert(!recordNumber.contains(kEntrySeparator));
    if (text.contains(kEntrySeparator))
        assert(text.startsWith(recordNumber + kEntrySeparator));
    else
        assert(recordNumber == text);

    // The two halves of the input as typed name and number. (Not by a regular expression: a half
    // may end in half a surrogate pair, which no expression matches.)
    const auto trimBlanks = [](QString half) {
        while (half.startsWith(QLatin1Char(' '))) half.remove(0, 1);
        while (half.endsWith(QLatin1Char(' '))) half.chop(1);
        return half;
    };
    const QString name = trimBlanks(text.left(text.size() / 2));
    const QString number = trimBlanks(text.mid(text.size() / 2));
    const QString entry = buildEntry(text.left(text.size() / 2), text.mid(text.size() / 2));
    assert(entry == name + kEntrySeparator + number);
    // The last "--" is the one put in, unless the number holds "--" or starts with "-".
    if (!number.contains(kEntrySeparator) && !number.startsWith(QLatin1Char('-'))) {
        const EntryParts back = cutEntry(entry);
        assert(back.name == name && back.number == number);
    }
    if (!text.contains(kEntrySeparator) && !text.endsWith(QLatin1Char('-')))
        assert(numberOfRecord(recentCallRecord(text, 1, 2, 3)) == text);
    return 0;
}
