#include "support/SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QTimer>

namespace softphone {
namespace {

Q_LOGGING_CATEGORY(lcInstance, "softphone.instance")

constexpr int kAnswerWaitMs = 1000;
constexpr int kClaimLockWaitMs = 3000;
// Links are a few dozen characters; a request beyond this is no start of this program.
constexpr qint64 kLongestRequest = 4096;

}  // namespace

QString instanceSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(QStringLiteral("softphone.socket"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("softphone-%1.socket").arg(::getuid()));
}

SingleInstance::SingleInstance(QString socketPath) : path_(std::move(socketPath)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_.nextPendingConnection()) takeRequest(caller);
    });
}

// A request is the link in UTF-8 (nothing for a plain start), ended by the caller's hang-up; the
// caller expects no reply.
void SingleInstance::takeRequest(QLocalSocket* caller) {
    auto* deadline = new QTimer(caller);
    const auto drop = [this, caller, deadline](const char* why) {
        qCWarning(lcInstance) << "Request of a later start dropped:" << why;
        deadline->stop();
        caller->disconnect(this);
        caller->abort();
        caller->deleteLater();
    };
    connect(caller, &QLocalSocket::readyRead, this, [caller, drop] {
        if (caller->bytesAvailable() > kLongestRequest) drop("too long");
    });
    connect(caller, &QLocalSocket::disconnected, this, [this, caller, deadline] {
        deadline->stop();
        const QString link = QString::fromUtf8(caller->readAll());
        caller->deleteLater();
        emit anotherStart();
        if (!link.isEmpty()) emit linkOpened(link);
    });
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [drop] { drop("no hang-up in time"); });
    deadline->start(kAnswerWaitMs);
}

bool SingleInstance::claim(const QString& link) {
    // Two starts at the same moment must not both find no answer and both listen: the claim is
    // made under a lock, which a killed holder does not keep (QLockFile checks its PID). Should
    // the lock stay taken (a start that hangs), the claim goes on unguarded.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    lock.tryLock(kClaimLockWaitMs);
    if (askRunningInstance(link)) return false;
    // Nobody answered: whatever lies at the path is left over from a run that was killed.
    QLocalServer::removeServer(path_);
    // A program that cannot listen still runs; later starts just cannot find it.
    server_.listen(path_);
    return true;
}

bool SingleInstance::askRunningInstance(const QString& link) {
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(kAnswerWaitMs)) return false;
    socket.write(link.toUtf8());
    // Hanging up writes what is still buffered first.
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState &&
        !socket.waitForDisconnected(kAnswerWaitMs))
        qCWarning(lcInstance) << "The running program did not take the link:"
                              << socket.errorString();
    return true;
}

}  // namespace softphone
