#include "speech/ReadingAloud.h"

#include <QSignalSpy>
#include <QTest>

// Reading aloud where no voice can be had: on Linux built without Qt's
// text-to-speech, and on Windows without a Russian SAPI voice, as under Wine.
// Where a voice may be had, tst_readingwindow reads aloud through a private
// speech server.
class tst_ReadingAloud : public QObject {
    Q_OBJECT

private slots:
    void withoutVoice();
};

void tst_ReadingAloud::withoutVoice()
{
    ReadingAloud aloud;
    const QString reason = aloud.unavailableReason();
    if (reason.isEmpty())
        QSKIP("a speech engine may speak here: tst_readingwindow reads aloud");
    // Said in Russian, for the item's tooltip.
    QVERIFY2(reason.contains(QStringLiteral("вслух")), qPrintable(reason));
    QSignalSpy refused(&aloud, &ReadingAloud::unavailable);
    aloud.setOn(true);
    QVERIFY(!aloud.isOn());
    QCOMPARE(refused.size(), 1);
    QCOMPARE(refused[0][0].toString(), reason);
    aloud.say(QStringLiteral("Жила-была лиса."));
    QVERIFY(!aloud.isSpeaking());
}

QTEST_GUILESS_MAIN(tst_ReadingAloud)
#include "tst_readingaloud.moc"
