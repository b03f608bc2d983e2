// Runs one data-file operation in its own process, so tests can run it as another user or kill
// it midway. Prints what the user would see.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTextStream>

#include "records/DataFile.h"
#include "records/PhoneBookDialog.h"
#include "support/MessageBox.h"

namespace softphone {
namespace {

enum Exit { kDone = 0, kUsage = 2, kFailed = 3 };

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

class PrintingMessageBox : public IMessageBox {
public:
    void Show(QWidget*, const QString& text, const QString&, MessageIcon) override {
        Out() << "message: " << text << Qt::endl;
    }
};

// Writes two large contents in turn until killed (or, as a safety net, for ten seconds).
int RewriteUntilKilled(const QString& path) {
    QList<QByteArray> contents[2];
    for (int i = 0; i < 20000; ++i) {
        contents[0].append("Old entry " + QByteArray::number(i) + "--0123456789012345678901");
        contents[1].append("New entry " + QByteArray::number(i) + "--9876543210987654321098");
    }
    DataFile file(path);
    if (!file.Read()) return kFailed;
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; clock.elapsed() < 10000; ++round) {
        if (!file.Write(contents[round % 2 == 0 ? 1 : 0])) return kFailed;
        if (round == 0) Out() << "ready" << Qt::endl;
    }
    return kDone;
}

int AddToPhoneBook(const QString& path, const QString& name, const QString& number) {
    PrintingMessageBox messages;
    PhoneBookDialog book(messages, nullptr, path);
    book.nameBox->setText(name);
    book.numberField->setText(number);
    book.OnAddClicked();
    for (int row = 0; row < book.entryList->count(); ++row)
        Out() << "row: " << book.entryList->item(row)->text() << Qt::endl;
    return kDone;
}

}  // namespace
}  // namespace softphone

int main(int argc, char** argv) {
    using namespace softphone;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0), path = args.value(1);
    if (mode == "rewrite" && args.size() == 2) return RewriteUntilKilled(path);
    if (mode == "phonebook-add" && args.size() == 4) return AddToPhoneBook(path, args[2], args[3]);
    return kUsage;
}
