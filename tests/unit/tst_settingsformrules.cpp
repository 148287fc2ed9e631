#include "settings/SettingsFormRules.h"

#include <QTest>

using namespace tavix;

class TestSettingsFormRules : public QObject
{
    Q_OBJECT
private slots:
    void savedValueIsFoundIgnoringCase_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<int>("index");
        const QStringList comuni{"ROMA", "L'AQUILA", "REGGIO NELL'EMILIA", "FORLÌ", "", "roma"};
        QTest::newRow("same case") << comuni << "L'AQUILA" << 1;
        QTest::newRow("lower case") << comuni << "reggio nell'emilia" << 2;
        QTest::newRow("accented letter in another case") << comuni << "forlì" << 3;
        QTest::newRow("first of two equal entries") << comuni << "Roma" << 0;
        QTest::newRow("not in the list") << comuni << "ROMA " << -1;
        QTest::newRow("nothing saved selects nothing") << comuni << "" << -1;
        QTest::newRow("empty list") << QStringList{} << "ROMA" << -1;
    }
    void savedValueIsFoundIgnoringCase()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, saved);
        QFETCH(int, index);
        QCOMPARE(IndexOfIgnoringCase(items, saved), index);
    }

    void registrationNumberKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("discarded");
        QTest::newRow("digit 0") << int(Qt::Key_0) << "0" << false;
        QTest::newRow("digit 9") << int(Qt::Key_9) << "9" << false;
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << true;
        QTest::newRow("blank") << int(Qt::Key_Space) << " " << true;
        QTest::newRow("sign") << int(Qt::Key_Minus) << "-" << true;
        QTest::newRow("superscript two") << int(Qt::Key_twosuperior) << "²" << true;
        QTest::newRow("Arabic-Indic digit") << int(Qt::Key_unknown) << "\u0663" << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << true;
        QTest::newRow("backspace without text") << int(Qt::Key_Backspace) << "" << true;
        QTest::newRow("delete") << int(Qt::Key_Delete) << "" << false;
        QTest::newRow("arrow") << int(Qt::Key_Left) << "" << false;
        QTest::newRow("enter reaches the dialog") << int(Qt::Key_Return) << "\r" << false;
        QTest::newRow("escape reaches the dialog") << int(Qt::Key_Escape) << "\x1b" << false;
        QTest::newRow("tab") << int(Qt::Key_Tab) << "\t" << false;
        QTest::newRow("ctrl+c") << int(Qt::Key_C) << "\x03" << false;
    }
    void registrationNumberKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, discarded);
        QCOMPARE(DiscardedFromRegistrationNumber(key, text), discarded);
    }

    void typedLettersBecomeUpperCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("name") << "mario rossi"
                              << "MARIO ROSSI";
        QTest::newRow("apostrophe and accents") << "d'annunzio è"
                                                << "D'ANNUNZIO È";
        QTest::newRow("sharp s keeps the length") << "straße"
                                                  << "STRAßE";
        QTest::newRow("digits and signs unchanged") << "rm-12/b"
                                                    << "RM-12/B";
        QTest::newRow("empty") << ""
                               << "";
    }
    void typedLettersBecomeUpperCase()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        UpperCaseValidator validator;
        QString input = typed;
        int pos = 3;
        QCOMPARE(validator.validate(input, pos), QValidator::Acceptable);
        QCOMPARE(input, shown);
        QCOMPARE(pos, 3);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFormRules)
#include "tst_settingsformrules.moc"
