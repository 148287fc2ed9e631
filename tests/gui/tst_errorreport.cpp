#include "ModalHelper.h"

#include "account/TavixApplication.h"
#include "service/Error.h"

#include <QTest>
#include <QTimer>

class TestErrorReport : public QObject
{
    Q_OBJECT
private slots:
    void anEscapedErrorIsReportedAndTheLoopGoesOn()
    {
        ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });

        bool afterwards = false;
        QTimer::singleShot(0, this, [] { throw tavix::Error(QStringLiteral("Campo 'PF' non trovato")); });
        QTimer::singleShot(50, this, [&] { afterwards = true; });
        QTRY_VERIFY(afterwards);
        QVERIFY(modal.seen());
        QCOMPARE(modal.text(), QStringLiteral("Campo 'PF' non trovato"));
    }
};

int main(int argc, char **argv)
{
    TavixApplication app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errorreport.moc"
