// Feeds arbitrary bytes to the release answer reader and, for whatever it takes for an update,
// to the updater's command line, which must carry the fields back unchanged.
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "appversioninfo.h"
#include "updateprogram.h"

namespace {

void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = (qInstallMessageHandler(dropMessage), true);
    (void)ready;

    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const QJsonDocument doc = QJsonDocument::fromJson(body);
    AppVersionInfo info;
    QString why;
    const auto verdict = AppVersionInfo::fromReleaseAnswer(doc, QStringLiteral("18"), &info, &why);
    if (verdict == AppVersionInfo::Verdict::NoUpdate) {
        require(info == AppVersionInfo());
        return 0;
    }
    require(info.isUsable() == (verdict == AppVersionInfo::Verdict::Update));
    require(verdict == AppVersionInfo::Verdict::Update || !why.isEmpty());
    require(info.packageMd5() == info.packageMd5().toLower());
    if (verdict != AppVersionInfo::Verdict::Update)
        return 0;
    require(info.packageSize() >= 0);
    // An empty digest is usable: the updater then checks none.
    require(info.packageMd5().isEmpty() || info.packageMd5().size() == 32);

    const QStringList args = UpdateProgram::updaterArguments(
        info, QStringLiteral("/opt/Lun mere/launcher"), QStringLiteral("zh-cn"));
    require(args.size() == 2);
    const QJsonDocument back = QJsonDocument::fromJson(args.at(1).toUtf8());
    require(back.isObject());
    const QJsonObject json = back.object();
    require(json.size() == 4);
    require(json.value(QStringLiteral("pkg_url")).toString() == info.packageUrl());
    require(json.value(QStringLiteral("pkg_md5")).toString() == info.packageMd5());
    require(json.value(QStringLiteral("exe_dir")).toString() ==
            QStringLiteral("/opt/Lun mere/launcher"));
    return 0;
}
