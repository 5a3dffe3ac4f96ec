#pragma once

#include "platform/linux/CompositorSocket.h"

#include <QByteArray>
#include <QLocalSocket>
#include <QString>
#include <functional>

namespace varrow::platform::linux_ {

// Hyprland's sockets: each request on a connection of its own, answered when Hyprland closes
// it; the focus asked for again at every event that may have moved it.
class HyprlandSocket : public CompositorSocket {
    Q_OBJECT
public:
    HyprlandSocket(QString requests, QString events, QObject* parent = nullptr);
    ~HyprlandSocket() override;

    void watchFocus() override;
    void focus(pid_t pid) override;

private:
    // The whole answer, or an empty one when Hyprland could not be asked.
    void ask(const QByteArray& request, std::function<void(const QByteArray&)> answered);
    void askFocus();

    QString requests_, events_;
    QLocalSocket eventSocket_;
    QByteArray eventLine_;
    quint64 asked_ = 0;  // only the latest question's answer is taken
};

}  // namespace varrow::platform::linux_
