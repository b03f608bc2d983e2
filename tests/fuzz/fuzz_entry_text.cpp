// Any text as a phone-book row or a call record: a row cuts at its last "--", a record at its
// first, and a built entry or record cuts back to what went in.
#include <cassert>

#include "records/EntryText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace softphone;
    const QString text = QString::fromUtf8(QByteArrayView(data, qsizetype(size)));

    const bool cut = text.contains(kEntrySeparator);
    const EntryParts parts = cutEntry(text);
    assert(!parts.number.contains(kEntrySeparator));
    assert(cut ? text == parts.name + kEntrySeparator + parts.number
               : parts.name == text && parts.number.isEmpty());
    const QString recordNumber = numberOfRecord(text);
    assert(!recordNumber.contains(kEntrySeparator));
    assert(cut ? text.startsWith(recordNumber + kEntrySeparator) : recordNumber == text);

    // The input's halves as typed name and number, trimmed by hand: a half may end in half a
    // surrogate pair, which no regular expression matches.
    const auto trimBlanks = [](QString half) {
        while (half.startsWith(QLatin1Char(' '))) half.remove(0, 1);
        while (half.endsWith(QLatin1Char(' '))) half.chop(1);
        return half;
    };
    const QString typedName = text.left(text.size() / 2), typedNumber = text.mid(text.size() / 2);
    const QString name = trimBlanks(typedName), number = trimBlanks(typedNumber);
    const QString entry = buildEntry(typedName, typedNumber);
    assert(entry == name + kEntrySeparator + number);
    // The last "--" is the one put in, unless the number holds "--" or starts with "-".
    if (!number.contains(kEntrySeparator) && !number.startsWith(QLatin1Char('-')))
        assert(cutEntry(entry).name == name && cutEntry(entry).number == number);
    if (!cut && !text.endsWith(QLatin1Char('-')))
        assert(numberOfRecord(recentCallRecord(text, 1, 2, 3)) == text);
    return 0;
}
