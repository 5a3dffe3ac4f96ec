#include "KillLoop.h"

#include <sys/wait.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csignal>
#include <random>

namespace varrow::test {

int KillLoop::spanOf(const std::function<void()>& write, int writes) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 4; ++i) write();
    const qint64 perWriteUs = timer.nsecsElapsed() / 4000;
    return int(std::clamp<qint64>(perWriteUs * writes, 1000, 200000));
}

int KillLoop::run(const std::function<void(int, const std::function<void()>&)>& writeForever,
                  const std::function<void(int)>& inspect) const {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, maxDelayUs);
    int caughtWriting = 0;
    for (int round = 0; round < rounds; ++round) {
        int ready[2];
        if (pipe(ready) != 0) return caughtWriting;
        const pid_t child = fork();
        if (child == 0) {
            close(ready[0]);
            writeForever(round, [&] {
                const char started = 1;
                (void)!write(ready[1], &started, 1);
            });
            _exit(0);
        }
        close(ready[1]);
        char started = 0;
        (void)!read(ready[0], &started, 1);  // the child is about to write, or has ended
        close(ready[0]);
        usleep(useconds_t(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) ++caughtWriting;
        inspect(round);
    }
    return caughtWriting;
}

std::optional<QByteArray> contentOf(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

}  // namespace varrow::test
