// Address books brought into the phone book, and the phone book written out as vCards: each
// number once, named by its contact and label or skipped with the reason, and read back as it was.
#include <gtest/gtest.h>

#include "records/DataLines.h"
#include "records/PhoneBookTransfer.h"
#include "tests/support/Child.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

// The entries added, then the numbers skipped as "name: reason".
QStringList outcome(const PhoneBookImport& import) {
    const char* const reasons[] = {"no number", "letters", "too long", "duplicate"};
    QStringList lines(import.added.cbegin(), import.added.cend());  // UTF-8, as in the file
    for (const SkippedNumber& skipped : import.skipped)
        lines << skipped.name + ": " + reasons[int(skipped.reason)];
    return lines;
}

// Address books of each kind as phones and mail programs write them, imported into a book that
// holds one of their numbers: every number becomes an entry named by its contact and label, or is
// skipped with its reason; the exported book reads back whole. (A Google CSV and a file that is
// no address book: RecordsTest, through the dialog.)
TEST(PhoneBookTransfer, EachNumberOnceByItsNameOrWhyNotAndExportReadsBack) {
    const QList<QByteArray> existing = {"Tim Howes (work)--0014159373419"};
    const struct {
        const char* file;
        QStringList outcome;
    } cases[] = {
        {"rfc6350.vcf",
         {"Simon Perreault (work)--0014186569254", "Simon Perreault (work mobile)--0014182626501",
          "Jane Doe--0015555555555"}},
        {"rfc2426.vcf",
         {"Frank Dawson (work)--0019196769515", "Frank Dawson (work fax)--0019196769564",
          "Tim Howes (work fax)--0014155284164", "Doe, Jane; Dr.--5550104477",
          "Tim Howes (work): duplicate", "No Nobody: no number", "Flowers: letters"}},
        {"vcard21.vcf",
         {"Jörg Müller (mobile)--00491701234567", "Jörg Müller (work)--030123456",
          "Jörg Müller (home)--030123456", "René François--0033123456789", "Anna Smith--5550123",
          "Anna Smith: duplicate"}},
        {"outlook.csv",
         {"John Q. Public (work)--5550101234", "John Q. Public (mobile)--5550105678",
          "Example Corp--0015550102000", "Zoë Saldana--*31#5550199",
          "John Q. Public (home): letters"}},
    };
    QList<QByteArray> book;
    for (const auto& c : cases) {
        const PhoneBookImport import = importAddressBook(
            fileBytes(SOFTPHONE_SOURCE_DIR "/tests/data/contacts/" + QString(c.file)), existing,
            "00");
        EXPECT_EQ(outcome(import), c.outcome) << c.file;
        book += import.added;
    }
    // A name of more than one line's 75 bytes, and digits a "+" would not change.
    book << encodeText(QString(40, QChar(0xfc)) + "--*21#0044");
    EXPECT_EQ(importAddressBook(exportPhoneBook(book), {}, "011").added, book);
}

}  // namespace
}  // namespace softphone::test
