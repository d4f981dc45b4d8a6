// Feeds arbitrary bytes, read as a manifest's signature field, to the signature check and the
// statement reader. One trusted key signed one statement (in the seeds): no other text may
// ever pass, and every statement that reads must write back the same fields.
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "packagetrust.h"

namespace {

void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// tests/tools/publish/keys/first.pub, and the statement tests/fuzz/seeds/fuzz_signature
// carries with its signature by that key.
const char kTrustedKey[] = "TKV1Cd7NHWypVW/fEIwxVFtsO+cU1tenmSKd9hthK74=";
const char kSignedStatement[] =
    "{\"md5\":\"0123456789abcdef0123456789abcdef\",\"name\":\"Orv_1.0.0.7z\",\"sha256\":"
    "\"00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff\",\"size\":3145728,"
    "\"version\":\"1.0.0\"}";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = [] {
        qInstallMessageHandler(dropMessage);
        QList<QByteArray> keys;
        QString why;
        require(PackageTrust::parseKeyList(QLatin1String(kTrustedKey), &keys, &why));
        PackageTrust::setTrustedKeys(keys);
        return true;
    }();
    (void)ready;

    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const QJsonObject field = QJsonDocument::fromJson(body).object();
    const QByteArray statementText = field.value(QStringLiteral("statement")).toString().toUtf8();

    PackageStatement statement;
    QString why;
    SignedPackage expected;
    expected.signature = field;
    if (PackageStatement::fromJson(statementText, &statement, &why)) {
        require(statement.size >= 0 && statement.sha256.size() == 64 &&
                statement.md5.size() == 32 && !statement.name.isEmpty());
        PackageStatement again;
        require(PackageStatement::fromJson(statement.toJson(), &again, &why));
        require(again.toJson() == statement.toJson());
        expected.name = statement.name;
        expected.version = statement.version;
        expected.from = statement.from;
        expected.md5 = statement.md5;
        expected.size = statement.size;
    } else {
        require(!why.isEmpty());
    }
    const bool accepted = PackageTrust::checkStatement(expected, nullptr, &why);
    if (accepted) {
        require(statementText == QByteArray(kSignedStatement));
        require(PackageTrust::checkFile(expected, statement.md5, statement.sha256, statement.size,
                                        &why));
    } else {
        require(!why.isEmpty());
    }
    return 0;
}
