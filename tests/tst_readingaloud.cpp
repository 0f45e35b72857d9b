#include "speech/ReadingAloud.h"

#include <QSignalSpy>
#include <QTest>

// Where no voice can be had (built without a speech engine; Windows without a
// Russian voice, as under Wine); where one may be, tst_readingwindow reads
// aloud through a private speech server.
class tst_ReadingAloud : public QObject {
    Q_OBJECT

private slots:
    void withoutVoice()
    {
        ReadingAloud aloud;
        const QString reason = aloud.unavailableReason();
        if (reason.isEmpty())
            QSKIP("a speech engine may speak here: tst_readingwindow reads aloud");
        QVERIFY2(reason.contains(QStringLiteral("вслух")), qPrintable(reason));
        QSignalSpy refused(&aloud, &ReadingAloud::unavailable);
        aloud.setOn(true);
        QVERIFY(!aloud.isOn());
        QCOMPARE(refused.value(0).value(0).toString(), reason);
    }
};

QTEST_GUILESS_MAIN(tst_ReadingAloud)
#include "tst_readingaloud.moc"
