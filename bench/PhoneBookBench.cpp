// Opening the phone book with many entries: time until the list is on screen, and time for one
// Add, which rewrites the whole file. Prints the figures; judges nothing.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "records/PhoneBookDialog.h"
#include "support/MessageBox.h"

namespace softphone {
namespace {

class SilentMessageBox : public IMessageBox {
public:
    void show(QWidget*, const QString&, const QString&, MessageIcon) override {}
};

void writePhoneBook(const QString& path, int entries, int lineLength) {
    QByteArray bytes;
    for (int i = 0; i < entries; ++i) {
        QByteArray line = "Name " + QByteArray::number(i) + "--";
        line += QByteArray(std::max<qsizetype>(lineLength - line.size(), 10), '5');
        bytes += line + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) std::abort();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double shownMs, addMs;
};

Figures openAndAdd(const QString& path) {
    SilentMessageBox messages;
    QElapsedTimer clock;
    clock.start();
    PhoneBookDialog book(messages, nullptr, path);
    book.show();
    QCoreApplication::processEvents();
    book.repaint();
    const double shownMs = clock.nsecsElapsed() / 1e6;

    book.nameBox->setText(QStringLiteral("Added"));
    book.numberField->setText(QStringLiteral("0123456789"));
    clock.restart();
    book.addButton->click();
    const double addMs = clock.nsecsElapsed() / 1e6;
    return {shownMs, addMs};
}

void measure(const QString& folder, const char* what, int entries, int lineLength, int runs) {
    const QString path = folder + QStringLiteral("/PhoneBook.txt");
    std::vector<double> shown, add;
    for (int run = 0; run < runs; ++run) {
        writePhoneBook(path, entries, lineLength);
        const Figures figures = openAndAdd(path);
        shown.push_back(figures.shownMs);
        add.push_back(figures.addMs);
    }
    std::printf("%-28s %8d entries  list shown %9.1f ms  one Add %8.1f ms  (median of %d)\n", what,
                entries, median(shown), median(add), runs);
}

}  // namespace
}  // namespace softphone

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    softphone::measure(folder.path(), "phone book", 1000, 30, 7);
    softphone::measure(folder.path(), "phone book", 10000, 30, 5);
    softphone::measure(folder.path(), "phone book", 100000, 30, 3);
    softphone::measure(folder.path(), "phone book, 1 MB lines", 3, 1 << 20, 3);
    return 0;
}
