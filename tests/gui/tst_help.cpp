#include "account/Help.h"
#include "account/HelpWindow.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

namespace {

const QList<int> &windowTopics()
{
    static const QList<int> topics{1,  2,  3,  5,  6,  7,  8,  9,  10, 11, 12, 14, 15,
                                   17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 34};
    return topics;
}

QString helpSourceFolder()
{
    return QStringLiteral(TAVIX_SOURCE_DIR "/data/help");
}

HelpWindow *helpWindow()
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->objectName() == QLatin1String("HelpWindow"))
            return qobject_cast<HelpWindow *>(w);
    }
    return nullptr;
}

QString shownPage(HelpWindow *window)
{
    return window->browser()->source().fileName();
}

template <typename T> T *child(HelpWindow *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Records whether a window is currently blocked by a modal one.
class BlockWatcher : public QObject
{
public:
    bool blocked = false;
    bool everBlocked = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowBlocked)
            blocked = everBlocked = true;
        else if (event->type() == QEvent::WindowUnblocked)
            blocked = false;
        return false;
    }
};

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setHelpFolder(helpSourceFolder()); }

    void everyTopicHasAPageWithTitleAndText_data()
    {
        QTest::addColumn<int>("topic");
        for (int topic : windowTopics())
            QTest::addRow("topic %d", topic) << topic;
    }
    void everyTopicHasAPageWithTitleAndText()
    {
        QFETCH(int, topic);
        ShowHelp(nullptr, topic);
        HelpWindow *window = helpWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(shownPage(window),
                 QStringLiteral("topic-%1.html").arg(topic, 2, 10, QLatin1Char('0')));
        const QString title = window->browser()->documentTitle();
        QVERIFY2(!title.isEmpty(), "the page has no title");
        QVERIFY(window->windowTitle().contains(title));
        // Real content, not a placeholder: several paragraphs of text.
        const QString text = window->browser()->toPlainText().simplified();
        QVERIFY2(text.size() > 600,
                 qPrintable(QStringLiteral("only %1 characters").arg(text.size())));
    }

    void theIndexLinksEveryTopic()
    {
        const QString index =
            readAll(QDir(helpSourceFolder()).filePath(QStringLiteral("index.html")));
        for (int topic : windowTopics()) {
            const QString href =
                QStringLiteral("href=\"topic-%1.html\"").arg(topic, 2, 10, QLatin1Char('0'));
            QVERIFY2(index.contains(href), qPrintable(href));
        }
    }

    void everyLinkResolvesToAnExistingPage()
    {
        const QDir folder(helpSourceFolder());
        const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() >= windowTopics().size() + 1);
        static const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
        for (const QString &page : pages) {
            const QString html = readAll(folder.filePath(page));
            QVERIFY2(html.contains(QLatin1String("help.css")), qPrintable(page));
            for (auto it = link.globalMatch(html); it.hasNext();) {
                const QString href = it.next().captured(1);
                const QString where = page + QLatin1String(": ") + href;
                const QString file = href.section(QLatin1Char('#'), 0, 0);
                const QString anchor = href.section(QLatin1Char('#'), 1);
                QVERIFY2(!href.contains(QLatin1String("://")), qPrintable(where));
                const QString target = file.isEmpty() ? page : file;
                QVERIFY2(folder.exists(target), qPrintable(where));
                if (!anchor.isEmpty()) {
                    const QString targetHtml = readAll(folder.filePath(target));
                    QVERIFY2(targetHtml.contains(QStringLiteral("id=\"%1\"").arg(anchor)) ||
                                 targetHtml.contains(QStringLiteral("name=\"%1\"").arg(anchor)),
                             qPrintable(where));
                }
            }
        }
    }

    void backForwardAndIndexMoveThroughThePagesSeen()
    {
        ShowHelp(nullptr, 2);
        ShowHelp(nullptr, 10);
        HelpWindow *window = helpWindow();
        QVERIFY(window);
        QCOMPARE(shownPage(window), QStringLiteral("topic-10.html"));
        auto *back = child<QToolButton>(window, "Indietro_SB");
        auto *forward = child<QToolButton>(window, "Avanti_SB");
        QVERIFY(back->isEnabled());

        back->click();
        QCOMPARE(shownPage(window), QStringLiteral("topic-02.html"));
        QVERIFY(forward->isEnabled());
        forward->click();
        QCOMPARE(shownPage(window), QStringLiteral("topic-10.html"));
        QVERIFY(!forward->isEnabled());

        child<QToolButton>(window, "Indice_SB")->click();
        QCOMPARE(shownPage(window), QStringLiteral("index.html"));
        QTest::keyClick(window->browser(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(shownPage(window), QStringLiteral("topic-10.html"));

        // Following a link inside a page.
        window->browser()->setSource(QUrl(QStringLiteral("topic-12.html")));
        QCOMPARE(shownPage(window), QStringLiteral("topic-12.html"));
        QVERIFY(!window->browser()->toPlainText().isEmpty());
    }

    void searchFindsTextInThePageAndGoesRound()
    {
        ShowHelp(nullptr, 2);
        HelpWindow *window = helpWindow();
        QTextBrowser *page = window->browser();
        auto *edit = child<QLineEdit>(window, "Cerca_Edit");
        auto *outcome = child<QLabel>(window, "Esito_Label");
        edit->clear();

        QTest::keyClicks(edit, QStringLiteral("ricerca negativa"));
        QCOMPARE(page->textCursor().selectedText().toLower(), QStringLiteral("ricerca negativa"));
        QVERIFY(outcome->text().isEmpty());

        // Every occurrence in turn, then round to the first again.
        const int first = page->textCursor().selectionStart();
        QList<int> seen{first};
        for (int i = 0; i < 20; ++i) {
            QVERIFY(window->findNext());
            const int at = page->textCursor().selectionStart();
            if (at == first)
                break;
            QVERIFY(at > seen.last());
            seen << at;
        }
        QCOMPARE(page->textCursor().selectionStart(), first);
        QVERIFY(window->findPrevious());
        QCOMPARE(page->textCursor().selectionStart(), seen.last());

        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("qwxyz"));
        QCOMPARE(outcome->text(), QStringLiteral("Testo non trovato"));
        QVERIFY(!window->findNext());
    }

    void unknownTopicOpensTheIndex_data()
    {
        QTest::addColumn<int>("topic");
        QTest::newRow("no page") << 4;
        QTest::newRow("beyond") << 99;
        QTest::newRow("negative") << -1;
    }
    void unknownTopicOpensTheIndex()
    {
        QFETCH(int, topic);
        QCOMPARE(HelpTopicUrl(topic).fileName(), QStringLiteral("index.html"));
        ShowHelp(nullptr, topic);
        QCOMPARE(shownPage(helpWindow()), QStringLiteral("index.html"));
    }

    void oneWindowServesEveryCallAndEscClosesIt()
    {
        ShowHelp(nullptr, 3);
        ShowHelp(nullptr, 26);
        int count = 0;
        const QList<QWidget *> windows = QApplication::topLevelWidgets();
        for (QWidget *w : windows)
            count += w->objectName() == QLatin1String("HelpWindow");
        QCOMPARE(count, 1);
        HelpWindow *window = helpWindow();
        QTest::keyClick(child<QLineEdit>(window, "Cerca_Edit"), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        ShowHelp(nullptr, 26);
        QVERIFY(window->isVisible());
        QCOMPARE(helpWindow(), window);
    }

    void aiutoInAModalDialogShowsAUsableWindow()
    {
        ShowHelp(nullptr, 2);
        HelpWindow *window = helpWindow();
        BlockWatcher watcher;
        window->installEventFilter(&watcher);

        QDialog dialog;
        bool blockedBefore = false;
        bool blockedAfter = true;
        QString pageInDialog;
        QTimer::singleShot(0, &dialog, [&] {
            blockedBefore = watcher.blocked; // the dialog blocks the open help window...
            ShowHelp(&dialog, 5);            // ...until its Aiuto button calls the help
            blockedAfter = watcher.blocked;
            pageInDialog = shownPage(window);
            dialog.accept();
        });
        dialog.exec();
        QVERIFY(blockedBefore);
        QVERIFY(!blockedAfter);
        QCOMPARE(pageInDialog, QStringLiteral("topic-05.html"));
        window->removeEventFilter(&watcher);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void anOpenHelpWindowStaysUsableWhenADialogOpens()
    {
        // As at the first start: the help is up, then the settings dialog comes.
        ShowHelp(nullptr, 1);
        HelpWindow *window = helpWindow();
        BlockWatcher watcher;
        window->installEventFilter(&watcher);

        QDialog dialog;
        bool usable = false;
        QTimer::singleShot(0, &dialog, [&] {
            usable = QTest::qWaitFor([&] { return !watcher.blocked; }, 1000);
            dialog.accept();
        });
        dialog.exec();
        QVERIFY(watcher.everBlocked);
        QVERIFY(usable);
        window->removeEventFilter(&watcher);
    }

    void f1InAWindowOpensItsTopic()
    {
        QDialog dialog;
        auto *field = new QLineEdit(&dialog);
        QCOMPARE(HelpTopicOf(&dialog), -1);
        SetHelpTopic(&dialog, 5);
        SetHelpTopic(&dialog, 6); // the list dialog in PF mode
        QCOMPARE(HelpTopicOf(&dialog), 6);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        field->setFocus();

        QTest::keyClick(field, Qt::Key_F1);
        QCOMPARE(shownPage(helpWindow()), QStringLiteral("topic-06.html"));
        QCOMPARE(dialog.findChildren<QAction *>(Qt::FindDirectChildrenOnly).size(), 1);
    }

    void aMissingHelpFolderIsSaidPlainly()
    {
        ShowHelp(nullptr, 2);
        QTemporaryDir empty;
        setHelpFolder(empty.path());
        ShowHelp(nullptr, 2);
        setHelpFolder(helpSourceFolder());
        QTextBrowser *page = helpWindow()->browser();
        QVERIFY(page->toPlainText().contains(QLatin1String("Guida non disponibile")));
        QVERIFY(page->toPlainText().contains(QDir::toNativeSeparators(empty.path())));

        // Once the pages are there again, the same topic shows its page.
        ShowHelp(nullptr, 2);
        QCOMPARE(page->documentTitle(), QStringLiteral("La finestra principale"));
    }

    void helpFolderIsBesideTheProgramByDefault()
    {
        setHelpFolder(QString());
        QCOMPARE(HelpFolder(),
                 QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help")));
        setHelpFolder(helpSourceFolder());
        QCOMPARE(HelpTopicUrl(2),
                 QUrl::fromLocalFile(helpSourceFolder() + QStringLiteral("/topic-02.html")));
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
