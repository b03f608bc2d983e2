// Importing 10,000 vCards into a phone book of 1,000 entries: reading the file, parsing and
// cleaning the numbers, and the one write of the book. Prints min / median / max; judges nothing.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "records/DataFile.h"
#include "records/PhoneBookTransfer.h"

namespace softphone {
namespace {

constexpr int kCards = 10000;
constexpr int kRuns = 7;

// Cards as desktop address books write them: two numbers each, written with separators and
// "+", an e-mail address and a folded postal address.
QByteArray vCards() {
    QByteArray bytes;
    for (int i = 0; i < kCards; ++i) {
        const QByteArray n = QByteArray::number(i).rightJustified(5, '0');
        bytes += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contact " + n +
                 " M\xC3\xBCller\r\nN:M\xC3\xBCller;" + "Contact " + n +
                 ";;;\r\nTEL;TYPE=CELL:+44 7700 9" + n + "\r\nTEL;TYPE=WORK,VOICE:+1 (555) 01" +
                 n.right(1) + "-" + n.left(4) + "\r\nEMAIL;TYPE=INTERNET:contact" + n +
                 "@example.com\r\nADR;TYPE=HOME:;;" + n +
                 " Long Street;Springfield;;12345;\r\n Somewhere\r\nEND:VCARD\r\n";
    }
    return bytes;
}

QList<QByteArray> existingBook() {
    QList<QByteArray> book;
    for (int i = 0; i < 1000; ++i) book << "Friend " + QByteArray::number(i) + "--0123456789";
    return book;
}

struct Figures {
    double total, importing, writing;
};

Figures importOnce(const QString& contactsPath, const QString& bookPath) {
    QElapsedTimer clock;
    clock.start();
    QFile contacts(contactsPath);
    if (!contacts.open(QIODevice::ReadOnly)) std::abort();
    DataFile book(bookPath);
    const std::optional<QList<QByteArray>> entries = book.read();
    if (!entries) std::abort();
    const PhoneBookImport import = importAddressBook(contacts.readAll(), *entries, "00");
    const double importing = clock.nsecsElapsed() / 1e6;
    if (import.added.size() != 2 * kCards || !book.write(*entries + import.added)) std::abort();
    const double total = clock.nsecsElapsed() / 1e6;
    return {total, importing, total - importing};
}

void print(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("  %-34s min %7.1f  median %7.1f  max %7.1f ms\n", what, values.front(),
                values[values.size() / 2], values.back());
}

}  // namespace
}  // namespace softphone

int main(int argc, char** argv) {
    using namespace softphone;
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QString contactsPath = folder.filePath("contacts.vcf");
    const QString bookPath = folder.filePath("PhoneBook.txt");
    const QByteArray cards = vCards();
    QFile contacts(contactsPath);
    if (!contacts.open(QIODevice::WriteOnly) || contacts.write(cards) != cards.size()) return 1;
    contacts.close();

    std::vector<double> total, importing, writing;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(bookPath);
        DataFile fresh(bookPath);
        if (!fresh.read() || !fresh.write(existingBook())) return 1;
        const Figures figures = importOnce(contactsPath, bookPath);
        total.push_back(figures.total);
        importing.push_back(figures.importing);
        writing.push_back(figures.writing);
    }
    std::printf("Import of %d vCards (%.1f MB, %d numbers) into a book of 1000 entries, %d runs:\n",
                kCards, cards.size() / 1e6, 2 * kCards, kRuns);
    print("read, parse and clean", importing);
    print("one write of the book", writing);
    print("in all", total);
    return 0;
}
