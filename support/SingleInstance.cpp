#include "support/SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>

namespace softphone {
namespace {

constexpr int kAnswerWaitMs = 1000;
constexpr int kClaimLockWaitMs = 3000;

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
        while (QLocalSocket* caller = server_.nextPendingConnection()) {
            // The connection is the whole request; the caller ends without waiting for a reply.
            caller->disconnectFromServer();
            caller->deleteLater();
            emit anotherStart();
        }
    });
}

bool SingleInstance::claim() {
    // Two starts at the same moment must not both find no answer and both listen: the claim is
    // made under a lock, which a killed holder does not keep (QLockFile checks its PID). Should
    // the lock stay taken (a start that hangs), the claim goes on unguarded.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    lock.tryLock(kClaimLockWaitMs);
    if (askRunningInstance()) return false;
    // Nobody answered: whatever lies at the path is left over from a run that was killed.
    QLocalServer::removeServer(path_);
    // A program that cannot listen still runs; later starts just cannot find it.
    server_.listen(path_);
    return true;
}

bool SingleInstance::askRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(kAnswerWaitMs)) return false;
    socket.disconnectFromServer();
    return true;
}

}  // namespace softphone
