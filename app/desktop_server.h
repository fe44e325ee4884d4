// The desktop program's end of the local channel: holds the data folder's desktop lock
// for the program's life (it tells the command line that a program keeps the lists in
// memory) and answers the command line's requests (one framed request and one reply per
// connection) through a handler on the UI thread. A
// request that is too large, malformed or too slow is answered with an error or dropped;
// nothing a peer sends can end the program. The socket is a plain Unix one watched by
// socket notifiers, so serving never blocks the UI thread. QtCore only; no widgets.
#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace vandrel {

class SingleInstance;
class UnixSocket;

class DesktopServer : public QObject {
    Q_OBJECT

  public:
    using Handler = std::function<QJsonObject(const QJsonObject& request)>;

    enum class StartStatus {
        Listening,
        AlreadyRunning,  // another desktop program holds the data folder
        Failed,          // the lock or the socket could not be made
    };
    struct StartResult {
        StartStatus status = StartStatus::Failed;
        qint64 pid = 0;  // the holder, when known
        QString error;   // for Failed
    };

    // handler may be empty until the lists are loaded (set it with setHandler); requests
    // that come before are answered "try again".
    explicit DesktopServer(const QString& dataDir, Handler handler = {}, QObject* parent = nullptr);
    ~DesktopServer() override;

    // Takes the desktop lock, removes a socket a program that is gone left behind and
    // listens. Call right after the program took the scheduler lock (SingleInstance on the
    // data folder) and before it reads the lists, so no command line writes a file between
    // that read and the moment it is told to hand over. When only the socket fails, the
    // lock stays held (changes from the command line are then refused, never written).
    StartResult start();
    void setHandler(Handler handler) { handler_ = std::move(handler); }
    bool isListening() const;
    QString socketPath() const { return socketPath_; }

    // How long a peer may take to send its request, and then to take its reply (test
    // hook: the default is 10 s).
    void setPeerTimeout(int ms) { peerTimeoutMs_ = ms; }

  private:
    class Peer;
    void accept();
    void serve(UnixSocket socket);
    void read(Peer* peer);
    void answer(Peer* peer, const QJsonObject& reply);
    void flush(Peer* peer);
    void drop(Peer* peer);

    QString dataDir_;
    Handler handler_;
    std::unique_ptr<SingleInstance> desktopLock_;
    std::unique_ptr<UnixSocket> listener_;
    std::unique_ptr<QSocketNotifier> incoming_;
    QString socketPath_;
    int peerTimeoutMs_ = 10000;
    int peers_ = 0;
};

}  // namespace vandrel
