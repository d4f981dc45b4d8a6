// instanceprobe <id>           becomes the running instance and prints what it receives
// instanceprobe <id> <message> sends the message to the running instance, exits -1
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

#include "singleinstance.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    SingleInstance instance(args.at(1));
    if (instance.isRunning()) {
        if (args.size() < 3)
            return 3;
        const bool sent = instance.sendMessage(args.at(2), 5000);
        std::printf("sent %d\n", sent ? 1 : 0);
        return -1;
    }
    if (args.size() >= 3)
        return 4;
    QObject::connect(&instance, &SingleInstance::messageReceived, [](const QString &message) {
        std::printf("got %s\n", qPrintable(message));
        std::fflush(stdout);
    });
    std::printf("primary\n");
    std::fflush(stdout);
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
