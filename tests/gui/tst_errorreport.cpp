#include "account/TavixApplication.h"
#include "service/Error.h"

#include <QMessageBox>
#include <QTest>
#include <QTimer>

class TestErrorReport : public QObject
{
    Q_OBJECT
private slots:
    void anEscapedErrorIsReportedAndTheLoopGoesOn()
    {
        QString shown;
        // Close the report box as soon as it is up, keeping its text.
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        closer.start(10);

        bool afterwards = false;
        QTimer::singleShot(0, this, [] { throw tavix::Error(QStringLiteral("Campo 'PF' non trovato")); });
        QTimer::singleShot(50, this, [&] { afterwards = true; });
        QTRY_VERIFY(afterwards);
        QCOMPARE(shown, QStringLiteral("Campo 'PF' non trovato"));
    }
};

int main(int argc, char **argv)
{
    TavixApplication app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errorreport.moc"
