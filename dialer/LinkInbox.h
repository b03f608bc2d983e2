#pragma once

#include <QObject>
#include <QString>

namespace softphone {

// Links opened from the desktop (the program's argument, or a later start's) wait here until the
// handset can show their number, after the login. Nothing here dials: a web page must not be able
// to make calls.
class LinkInbox : public QObject {
    Q_OBJECT
public:
    // Before open(), the link waits; of several, the last one.
    void receive(const QString& link);
    // The handset shows numbers from now on: the waiting link comes out at once, later ones as
    // they arrive.
    void open();

signals:
    void linkArrived(const QString& link);

private:
    bool open_ = false;
    QString waiting_;
};

}  // namespace softphone
