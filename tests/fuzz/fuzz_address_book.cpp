// Any bytes imported as an address book: every entry added is one line whose number the number
// field takes, and the entries exported as vCards import back to the same entries.
#include <cassert>

#include "records/DataLines.h"
#include "records/EntryText.h"
#include "records/PhoneBookTransfer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace softphone;
    const QByteArrayView bytes(data, qsizetype(size));
    const PhoneBookImport import = importAddressBook(bytes, {}, QStringLiteral("00"));
    assert(import.addressBook || (import.added.isEmpty() && import.skipped.isEmpty()));
    for (const QByteArray& entry : import.added) {
        assert(!entry.contains('\n') && !entry.contains('\r'));
        const QString number = cutEntry(decodeLine(entry)).number;
        assert(!number.isEmpty());
        for (const QChar c : number) assert(QStringLiteral("0123456789*#").contains(c));
    }
    const PhoneBookImport back = importAddressBook(exportPhoneBook(import.added), {}, "00");
    assert(back.added == import.added);
    return 0;
}
