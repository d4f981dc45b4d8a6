#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include "errordefine.h"

using namespace ErrorDefine;

// Carries a code across threads the way download and setup workers do.
class CodeEmitter : public QObject
{
    Q_OBJECT
signals:
    void failed(ErrorDefine::ErrorCode code, QString message);
};

class TestErrorDefine : public QObject
{
    Q_OBJECT

private slots:
    void namesAreLookedUpByNumber()
    {
        QCOMPARE(errorName(DEFAULTT), QStringLiteral("DEFAULTT"));
        QCOMPARE(errorName(1024), QStringLiteral("HTTP_REQUEST_TIMEOUT"));
        QCOMPARE(errorName(DOWNLOAD_WRITE_BUFFER_ERROR),
                 QStringLiteral("DOWNLOAD_WRITE_BUFFER_ERROR"));
        QCOMPARE(errorName(1026), QStringLiteral("CATCH_EXCEPTION_INIT_UPDATEINFO"));
        // Not a code: a null string, not an empty one and not a neighbour's name.
        QVERIFY(errorName(999).isNull());
        QVERIFY(errorName(1).isNull());
#ifdef LUNMERE_UPDATER
        QCOMPARE(errorName(1027), QStringLiteral("MD5_EXCEPTION_ERROR"));
#else
        QVERIFY(errorName(1027).isNull());
#endif
    }

    void numbersRunWithoutGaps()
    {
        // Support staff read these numbers off players' screenshots.
        // The signature code follows the updater's own 1027 in both programs, so a number
        // means the same everywhere and the launcher still knows no 1027.
        const QMetaEnum meta = QMetaEnum::fromType<ErrorCode>();
        QCOMPARE(meta.value(0), 0);
        for (int i = 1; i <= 27; ++i)
            QCOMPARE(meta.value(i), 999 + i);
#ifdef LUNMERE_UPDATER
        QCOMPARE(meta.value(28), 1027);
        const int signatureIndex = 29;
#else
        const int signatureIndex = 28;
#endif
        QCOMPARE(meta.value(signatureIndex), int(PACKAGE_SIGNATURE_ERROR));
        QCOMPARE(errorName(1028), QStringLiteral("PACKAGE_SIGNATURE_ERROR"));
        // Later codes are appended in blocks; they only ever grow.
        for (int i = signatureIndex + 1; i < meta.keyCount(); ++i)
            QVERIFY(meta.value(i) > meta.value(i - 1));
        QCOMPARE(errorName(1033), QStringLiteral("STARTUP_RECOVERY_ERROR"));
        QCOMPARE(errorName(1043), QStringLiteral("DOWNLOAD_SERVER_BUSY"));
        QCOMPARE(errorName(1036), QStringLiteral("PACKAGE_ROLLBACK_ERROR"));
        QCOMPARE(errorName(1037), QStringLiteral("PACKAGE_BINDING_ERROR"));
    }

    void codeTravelsThroughQueuedConnection()
    {
        registerMetaTypes();
        QThread thread;
        CodeEmitter emitter;
        emitter.moveToThread(&thread);
        thread.start();
        QSignalSpy spy(&emitter, &CodeEmitter::failed);
        QMetaObject::invokeMethod(&emitter, [&emitter] {
            emit emitter.failed(DOWNLOAD_NETWORK_REPLY_ERROR, QStringLiteral("reply"));
        });
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<ErrorCode>(), DOWNLOAD_NETWORK_REPLY_ERROR);
        thread.quit();
        thread.wait();

        // A queued connection by name needs the registered type name too.
        QVERIFY(QMetaType::type("ErrorCode") != QMetaType::UnknownType);
    }
};

QTEST_GUILESS_MAIN(TestErrorDefine)
#include "tst_errordefine.moc"
