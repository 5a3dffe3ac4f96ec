#pragma once

#include "platform/linux/CompositorIpc.h"
#include "platform/linux/CompositorSocket.h"

#include <QByteArray>
#include <QLocalSocket>
#include <QQueue>
#include <QString>

namespace varrow::platform::linux_ {

// sway's socket (and i3's): commands on one connection, answered in order; the focus on a second
// one, from the window tree once and then from window and workspace events.
class SwaySocket : public CompositorSocket {
    Q_OBJECT
public:
    explicit SwaySocket(QString path, QObject* parent = nullptr);
    ~SwaySocket() override;

    void watchFocus() override;
    void focus(pid_t pid) override;

private:
    // One connection: what was read and not taken yet, and what waits for it to connect.
    struct Channel {
        QLocalSocket socket;
        QByteArray read, unsent;
    };
    void open(Channel& channel, void (SwaySocket::*take)(const CompositorIpc::Message&));
    void send(Channel& channel, const QByteArray& message);
    void answered(const CompositorIpc::Message& message);
    void event(const CompositorIpc::Message& message);

    QString path_;
    Channel commands_, events_;
    QQueue<QByteArray> sent_;  // commands waiting for their answer
};

}  // namespace varrow::platform::linux_
