// A package asked for over HTTPS: redirects are followed only while they stay encrypted.
// The HTTPS side is a small TLS server on 127.0.0.1 with a certificate made for this run.
#include <QProcess>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include "downloadmanager.h"
#include "downloadtestutil.h"
#include "httptestserver.h"

namespace {

// Answers each request from a table of path -> (status, extra header, body); HEAD gets the
// head only. One request per connection.
class TlsServer : public QTcpServer
{
public:
    struct Answer
    {
        int status = 200;
        QByteArray header;
        QByteArray body;
    };

    QSslCertificate certificate;
    QSslKey key;
    QMap<QByteArray, Answer> answers;
    QList<QByteArray> paths;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setLocalCertificate(certificate);
        socket->setPrivateKey(key);
        auto *request = new QByteArray;
        connect(socket, &QSslSocket::readyRead, socket, [this, socket, request] {
            request->append(socket->readAll());
            if (!request->contains("\r\n\r\n"))
                return;
            const QList<QByteArray> line = request->left(request->indexOf("\r\n")).split(' ');
            const QByteArray method = line.value(0);
            const QByteArray path = line.value(1);
            paths << path;
            const Answer answer = answers.value(path, Answer{404, {}, {}});
            QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + " X\r\n" +
                               "Content-Length: " + QByteArray::number(answer.body.size()) +
                               "\r\nConnection: close\r\n" + answer.header + "\r\n";
            if (method != "HEAD")
                reply += answer.body;
            socket->write(reply);
            socket->disconnectFromHost();
        });
        connect(socket, &QSslSocket::disconnected, socket, [socket, request] {
            delete request;
            socket->deleteLater();
        });
        socket->startServerEncryption();
    }
};

} // namespace

class TestInsecureRedirect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        const QString cert = m_dir.filePath(QStringLiteral("cert.pem"));
        const QString key = m_dir.filePath(QStringLiteral("key.pem"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out",
                       cert, "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                       "subjectAltName=DNS:127.0.0.1,IP:127.0.0.1"});
        QVERIFY(openssl.waitForFinished(60000));
        QCOMPARE(openssl.exitCode(), 0);
        m_tls.certificate = QSslCertificate::fromData(downloadtest::readFile(cert)).value(0);
        m_tls.key = QSslKey(downloadtest::readFile(key), QSsl::Rsa);
        QVERIFY(!m_tls.certificate.isNull());
        QVERIFY(!m_tls.key.isNull());
        // The launcher's own trust store, as a system with this certificate installed has it.
        QSslConfiguration trust = QSslConfiguration::defaultConfiguration();
        trust.addCaCertificate(m_tls.certificate);
        QSslConfiguration::setDefaultConfiguration(trust);
        QVERIFY(m_tls.listen(QHostAddress::LocalHost));
        QVERIFY(m_plain.listen());
        m_package = downloadtest::randomBytes(64 * 1024, 7);
        m_plain.serveData(QStringLiteral("/pkg.7z"), m_package);
        m_tls.answers.insert("/pkg.7z", {200, {}, m_package});
    }

    void httpsNeverContinuesInTheClear_data()
    {
        QTest::addColumn<QString>("start");    // "https" or "http"
        QTest::addColumn<QString>("location"); // where the first address redirects
        QTest::addColumn<bool>("refused");
        QTest::newRow("https to http") << "https"
                                       << "http://127.0.0.1:@PLAIN@/pkg.7z" << true;
        QTest::newRow("https to http, upper case") << "https"
                                                   << "HTTP://127.0.0.1:@PLAIN@/pkg.7z" << true;
        QTest::newRow("https to https") << "https"
                                        << "https://127.0.0.1:@TLS@/pkg.7z" << false;
        QTest::newRow("https to a relative path") << "https"
                                                  << "/pkg.7z" << false;
        QTest::newRow("http to http") << "http"
                                      << "http://127.0.0.1:@PLAIN@/pkg.7z" << false;
    }

    void httpsNeverContinuesInTheClear()
    {
        QFETCH(QString, start);
        QFETCH(QString, location);
        QFETCH(bool, refused);
        location.replace(QStringLiteral("@PLAIN@"), QString::number(m_plain.port()));
        location.replace(QStringLiteral("@TLS@"), QString::number(m_tls.serverPort()));
        m_plain.clearRequests();
        m_tls.paths.clear();
        QUrl first;
        if (start == QLatin1String("https")) {
            m_tls.answers.insert("/first.7z", {302, "Location: " + location.toUtf8() + "\r\n", {}});
            first = QUrl(QStringLiteral("https://127.0.0.1:%1/first.7z").arg(m_tls.serverPort()));
        } else {
            m_plain.redirect(QStringLiteral("/first.7z"), location);
            first = m_plain.url(QStringLiteral("/first.7z"));
        }
        QTemporaryDir folder;
        downloadmanager manager;
        QSignalSpy finished(&manager, &downloadmanager::downloadFinished);
        QSignalSpy failed(&manager, &downloadmanager::downloadError);
        manager.setFilePath(folder.path());
        manager.setUrl(first);
        manager.startDownload();
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() + failed.count() > 0, 30000);
        if (refused) {
            QCOMPARE(failed.count(), 1);
            QCOMPARE(failed.first().at(0).value<ErrorDefine::ErrorCode>(),
                     ErrorDefine::HTTP_INSECURE_REDIRECT);
            QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
        } else {
            QVERIFY2(failed.isEmpty(),
                     failed.isEmpty() ? "" : qPrintable(failed.first().at(1).toString()));
            QCOMPARE(downloadtest::readFile(manager.finalFilePath()), m_package);
        }
        // Not a byte of the package went over plain HTTP after an HTTPS start.
        if (start == QLatin1String("https"))
            QCOMPARE(m_plain.requestCount(QStringLiteral("/pkg.7z")), 0);
    }

private:
    QTemporaryDir m_dir;
    TlsServer m_tls;
    HttpTestServer m_plain;
    QByteArray m_package;
};

QTEST_GUILESS_MAIN(TestInsecureRedirect)
#include "tst_insecureredirect.moc"
