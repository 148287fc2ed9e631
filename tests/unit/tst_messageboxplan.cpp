#include "controls/MessageBoxPlan.h"

#include <QTest>

using namespace tavix;

namespace {
constexpr int RowWidth = 321; // the button row of the box

QString captionsOf(const MessageBoxPlan &plan)
{
    QStringList captions;
    for (const MessageButtonPlan &b : plan.buttons)
        captions << b.caption + QLatin1Char(':') + QString::number(b.result) + QLatin1Char('@') +
                        QString::number(b.left);
    return captions.join(QLatin1Char(' '));
}
} // namespace

class TestMessageBoxPlan : public QObject
{
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
};

void TestMessageBoxPlan::plan_data()
{
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<QString>("buttons"); // caption:result@left
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<int>("escapeIndex");
    QTest::addColumn<int>("picture");

    const int none = int(MessagePicture::None);
    QTest::newRow("0") << 0u << "OK:1@123" << 0 << -1 << none;
    QTest::newRow("16 error") << 16u << "OK:1@123" << 0 << -1 << int(MessagePicture::Error);
    QTest::newRow("32 question") << 32u << "OK:1@123" << 0 << -1 << int(MessagePicture::Question);
    QTest::newRow("48 warning") << 48u << "OK:1@123" << 0 << -1 << int(MessagePicture::Warning);
    QTest::newRow("64 information")
        << 64u << "OK:1@123" << 0 << -1 << int(MessagePicture::Information);
    QTest::newRow("0x50 no picture") << 0x50u << "OK:1@123" << 0 << -1 << none;
    QTest::newRow("1 OK Cancel") << 1u << "OK:1@57 Annulla:2@189" << 0 << 1 << none;
    QTest::newRow("2 abort retry ignore")
        << 2u << "&Interrompi:3@24 &Riprova:4@123 I&gnora:5@222" << 0 << -1 << none;
    QTest::newRow("3 yes no cancel") << 3u << "&Si:6@24 &No:7@123 &Annulla:2@222" << 0 << 1 << none;
    QTest::newRow("52 yes no warning")
        << 52u << "&Si:6@57 &No:7@189" << 0 << 1 << int(MessagePicture::Warning);
    QTest::newRow("68 yes no information")
        << 68u << "&Si:6@57 &No:7@189" << 0 << 1 << int(MessagePicture::Information);
    QTest::newRow("5 retry cancel") << 5u << "&Riprova:4@57 &Annulla:2@189" << 0 << 1 << none;
    QTest::newRow("set 6 as OK") << 6u << "OK:1@123" << 0 << -1 << none;
    QTest::newRow("0x103 second default")
        << 0x103u << "&Si:6@24 &No:7@123 &Annulla:2@222" << 1 << 1 << none;
    QTest::newRow("0x201 third of two") << 0x201u << "OK:1@57 Annulla:2@189" << -1 << 1 << none;
    QTest::newRow("0x202 third default")
        << 0x202u << "&Interrompi:3@24 &Riprova:4@123 I&gnora:5@222" << 2 << -1 << none;
    QTest::newRow("0x304 none") << 0x304u << "&Si:6@57 &No:7@189" << -1 << 1 << none;
    QTest::newRow("0x404 as first") << 0x404u << "&Si:6@57 &No:7@189" << 0 << 1 << none;
    QTest::newRow("other bits ignored") << (0x40000u | 0x1000u | 68u) << "&Si:6@57 &No:7@189" << 0
                                        << 1 << int(MessagePicture::Information);
}

void TestMessageBoxPlan::plan()
{
    QFETCH(unsigned, flags);
    QFETCH(QString, buttons);
    QFETCH(int, defaultIndex);
    QFETCH(int, escapeIndex);
    QFETCH(int, picture);
    const MessageBoxPlan plan = planMessageBox(flags, RowWidth);
    QCOMPARE(captionsOf(plan), buttons);
    QCOMPARE(plan.defaultIndex, defaultIndex);
    QCOMPARE(plan.escapeIndex, escapeIndex);
    QCOMPARE(int(plan.picture), picture);
}

QTEST_GUILESS_MAIN(TestMessageBoxPlan)
#include "tst_messageboxplan.moc"
