// The least a Qt 6 tray program does before it answers: a QApplication, a tray icon and a local
// socket that replies to one line. bench/startup_ready.sh times Varrow against it.
#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);

    QLocalServer server;
    QLocalServer::removeServer(path);
    if (!server.listen(path)) return 1;
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server] {
        while (QLocalSocket* socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] {
                if (!socket->canReadLine()) return;
                const QByteArray line = socket->readLine();
                socket->write("ok\n");
                socket->flush();
                socket->disconnectFromServer();
            });
        }
    });

    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkCyan);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.show();
    return app.exec();
}
