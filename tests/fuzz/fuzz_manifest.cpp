// Feeds arbitrary bytes to the resource and content answer parsers and to the lookups and
// version comparison that the launcher runs on what they read.
#include <QCoreApplication>
#include <QNetworkProxy>

#include <cstddef>
#include <cstdint>

#include "updateversioninfo.h"
#include "versioncompare.h"

namespace {

void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

void setUp()
{
    static int argc = 1;
    static char name[] = "fuzz_manifest";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    // The parser asks the package server for a missing size: send every such request to a
    // local port where nobody listens, so an input never reaches a real host.
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), 1));
    qInstallMessageHandler(dropMessage);
}

void run(UpdateVersionInfo &info, const QByteArray &body)
{
    QString error;
    if (info.parseResourceResponse(body, &error)) {
        const auto diffs = info.diffs();
        for (auto it = diffs.cbegin(); it != diffs.cend(); ++it) {
            info.packageUrl(it.key());
            info.packageMd5(it.key());
            info.packageSize(it.key());
            compareVersion(it.key(), info.version());
        }
        info.packageSize(info.version());
        UpdateVersionInfo::baseNameOfUrl(info.path());
        compareVersion(QStringLiteral("2.3.3.0"), info.minVersion());
        compareVersion(info.minVersion(), info.version());
    }
    if (info.parseContentResponse(body, &error)) {
        UpdateVersionInfo::fileNameOfUrl(info.background());
        UpdateVersionInfo::baseNameOfUrl(info.icon());
    }
    // The raw text as two version strings, split at the first newline.
    const int newline = body.indexOf('\n');
    if (newline >= 0)
        compareVersion(QString::fromUtf8(body.left(newline)),
                       QString::fromUtf8(body.mid(newline + 1)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = (setUp(), true);
    (void)ready;

    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<int>(size));
    {
        UpdateVersionInfo info;
        run(info, body);
    }
    // No event loop runs here: release what was scheduled for deletion, or every input's
    // network objects would pile up.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
