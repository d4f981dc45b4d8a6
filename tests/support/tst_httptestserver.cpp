#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "httptestserver.h"

// The other suites trust this server's answers, so its range arithmetic and fault queue are
// checked here against Qt's own HTTP client.
class TestHttpTestServer : public QObject
{
    Q_OBJECT
private slots:
    void rangesAndHeadFollowTheStandard();
    void faultsApplyToTheNextRequestsInOrder();
    void stalledAnswerKeepsConnectionOpen();
    void largeFileArrivesWhole();

private:
    struct Result
    {
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        int status = 0;
        QByteArray body;
        QNetworkReply *reply = nullptr;
    };
    Result fetch(const QUrl &url, const QByteArray &range = {}, bool head = false);

    QNetworkAccessManager m_nam;
    std::vector<std::unique_ptr<QNetworkReply>> m_replies;
};

static QByteArray pattern(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return data;
}

TestHttpTestServer::Result TestHttpTestServer::fetch(const QUrl &url, const QByteArray &range,
                                                     bool head)
{
    QNetworkRequest request(url);
    if (!range.isEmpty())
        request.setRawHeader("Range", range);
    QNetworkReply *reply = head ? m_nam.head(request) : m_nam.get(request);
    m_replies.emplace_back(reply);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    Result r;
    r.reply = reply;
    if (!finished.wait(20000))
        return r;
    r.error = reply->error();
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.body = reply->readAll();
    return r;
}

void TestHttpTestServer::rangesAndHeadFollowTheStandard()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray content = pattern(100000);
    QFile file(dir.filePath("pkg.bin"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    HttpTestServer server;
    QVERIFY(server.listen());
    server.serveFile("/pkg.bin", file.fileName());

    Result r = fetch(server.url("/pkg.bin"), "bytes=1000-");
    QCOMPARE(r.status, 206);
    QCOMPARE(r.reply->rawHeader("Content-Range"), QByteArray("bytes 1000-99999/100000"));
    QCOMPARE(r.body, content.mid(1000));

    r = fetch(server.url("/pkg.bin"), "bytes=10-19");
    QCOMPARE(r.status, 206);
    QCOMPARE(r.body, content.mid(10, 10));

    r = fetch(server.url("/pkg.bin"), "bytes=-10");
    QCOMPARE(r.status, 206);
    QCOMPARE(r.body, content.right(10));

    r = fetch(server.url("/pkg.bin"), "bytes=100000-");
    QCOMPARE(r.status, 416);
    QCOMPARE(r.reply->rawHeader("Content-Range"), QByteArray("bytes */100000"));

    r = fetch(server.url("/pkg.bin"), {}, true);
    QCOMPARE(r.status, 200);
    QCOMPARE(r.reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(), 100000);
    QVERIFY(r.body.isEmpty());

    server.serveData("/canned", "partial", "text/plain", 206);
    r = fetch(server.url("/canned"), {}, true);
    QCOMPARE(r.status, 206);
    QCOMPARE(r.reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(), 7);

    server.redirect("/old", "new/place");
    r = fetch(server.url("/old?x=1"));
    QCOMPARE(r.status, 302);
    QCOMPARE(r.reply->rawHeader("Location"), QByteArray("new/place"));

    const QList<HttpTestServer::Request> seen = server.requests();
    QCOMPARE(seen.size(), 7);
    QCOMPARE(seen.at(0).header("RANGE"), QByteArray("bytes=1000-"));
    QCOMPARE(seen.at(4).method, QByteArray("HEAD"));
    QCOMPARE(seen.last().path, QStringLiteral("/old"));
    QCOMPARE(seen.last().query, QStringLiteral("x=1"));
}

void TestHttpTestServer::faultsApplyToTheNextRequestsInOrder()
{
    HttpTestServer server;
    QVERIFY(server.listen());
    const QByteArray content = pattern(5000);
    server.serveData("/f", content);
    server.addFault("/f", HttpTestServer::Fault::dropAfter(100), 1, "GET");
    server.addFault("/f", HttpTestServer::Fault::ignoreRange(), 1, "GET");

    // HEAD does not consume a GET-only fault.
    Result r = fetch(server.url("/f"), {}, true);
    QCOMPARE(r.status, 200);

    r = fetch(server.url("/f"));
    QVERIFY(r.error != QNetworkReply::NoError);

    r = fetch(server.url("/f"), "bytes=100-");
    QCOMPARE(r.status, 200);
    QCOMPARE(r.body, content);

    r = fetch(server.url("/f"), "bytes=100-");
    QCOMPARE(r.status, 206);
    QCOMPARE(r.body, content.mid(100));
    QCOMPARE(server.requestCount("/f"), 4);

    server.serveData("/short", "0123456789");
    server.addFault("/short", HttpTestServer::Fault::wrongContentLength(20), 1);
    r = fetch(server.url("/short"));
    QVERIFY(r.error != QNetworkReply::NoError);

    server.addFault("/short", HttpTestServer::Fault::status(503), 1);
    r = fetch(server.url("/short"));
    QCOMPARE(r.status, 503);
    QVERIFY(r.body.isEmpty());
    r = fetch(server.url("/short"));
    QCOMPARE(r.body, QByteArray("0123456789"));

    r = fetch(server.url("/missing"));
    QCOMPARE(r.status, 404);
}

void TestHttpTestServer::stalledAnswerKeepsConnectionOpen()
{
    HttpTestServer server;
    QVERIFY(server.listen());
    server.serveData("/s", pattern(10000));
    server.addFault("/s", HttpTestServer::Fault::stallAfter(300), 1);
    server.addFault("/s", HttpTestServer::Fault::neverAnswer(), 1);

    QNetworkReply *stalled = m_nam.get(QNetworkRequest(server.url("/s")));
    m_replies.emplace_back(stalled);
    QTRY_COMPARE(stalled->bytesAvailable(), qint64(300));
    QVERIFY(!stalled->isFinished());

    QNetworkReply *held = m_nam.get(QNetworkRequest(server.url("/s")));
    m_replies.emplace_back(held);
    QTRY_COMPARE(server.heldCount(), 1);
    QVERIFY(!held->isFinished());
    QSignalSpy finished(held, &QNetworkReply::finished);
    server.releaseHeld();
    QVERIFY(finished.wait(10000));
    QCOMPARE(held->readAll().size(), 10000);
    stalled->abort();
}

void TestHttpTestServer::largeFileArrivesWhole()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath("big.bin"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCryptographicHash sent(QCryptographicHash::Md5);
    const QByteArray block = pattern(1 << 20);
    for (int i = 0; i < 24; ++i) {
        file.write(block);
        sent.addData(block);
    }
    file.close();

    HttpTestServer server;
    QVERIFY(server.listen());
    server.serveFile("/big.bin", file.fileName());
    QNetworkReply *reply = m_nam.get(QNetworkRequest(server.url("/big.bin")));
    m_replies.emplace_back(reply);
    QCryptographicHash received(QCryptographicHash::Md5);
    qint64 total = 0;
    connect(reply, &QNetworkReply::readyRead, this, [&] {
        const QByteArray bytes = reply->readAll();
        total += bytes.size();
        received.addData(bytes);
    });
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(60000));
    const QByteArray rest = reply->readAll();
    total += rest.size();
    received.addData(rest);
    QCOMPARE(reply->error(), QNetworkReply::NoError);
    QCOMPARE(total, qint64(24) << 20);
    QCOMPARE(received.result(), sent.result());
}

QTEST_GUILESS_MAIN(TestHttpTestServer)
#include "tst_httptestserver.moc"
