#include "RecordingNotifier.h"

#include <QTest>

class TestNotifier : public QObject
{
    Q_OBJECT
private slots:
    void recordsAndRestoresPrevious()
    {
        QVERIFY(tavix::notifier() == nullptr);
        {
            RecordingNotifier rec;
            tavix::notifyError(QStringLiteral("Errore"), QStringLiteral("Interrogazione fallita"));
            QCOMPARE(rec.messages, QStringList{QStringLiteral("Errore|Interrogazione fallita")});
        }
        QVERIFY(tavix::notifier() == nullptr);
    }
};

QTEST_GUILESS_MAIN(TestNotifier)
#include "tst_notifier.moc"
