#include "app/help_viewer.h"
#include "resources/program_resources.h"
#include "support/test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace {

QByteArray Page(const QString& title, const QString& body) {
    return QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>%2</body></html>")
        .arg(title, body)
        .toUtf8();
}

class HelpViewerTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        Write("contents.html", Page("Help Contents", "<a href=\"topic10.html\">The main window</a>"));
        Write("howto.html", Page("Using Help", "How to use help."));
        Write("topic10.html", Page("Main window", "<a href=\"topic20.html\">Toolbox</a>"));
        Write("topic20.html", Page("Toolbox", "The toolbox."));
        Write("topic40.html", Page("Preferences", "The preferences."));
        Write("topic50.html", Page("Model attributes", "The attributes."));
        Write("keywords.tsv", "Grid\ttopic10.html\r\n"
                              "toolbox\ttopic20.html\n"
                              "\n"
                              "# a comment\n"
                              "background grid colour\ttopic50.html\n"
                              "sounds\ttopic40.html\n"
                              "broken line without a tab\n"
                              "escape\t../outside.html\n");
        SetHelpRoot(dir.path());
    }
    void TearDown() override {
        THelpViewer::QuitHelp();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetHelpRoot(QString());
        CubestacksTest::TearDown();
    }
    void Write(const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QString Title(THelpViewer* viewer) { return viewer->Browser->documentTitle(); }
    static QStringList Listed(THelpViewer* viewer) {
        QStringList out;
        for (int i = 0; i < viewer->KeywordList->count(); ++i)
            out << viewer->KeywordList->item(i)->text();
        return out;
    }

    QTemporaryDir dir;
};

TEST(HelpContextPageTest, NumbersAndTheirPages) {
    EXPECT_EQ(HelpContextPage(10), QStringLiteral("topic10.html"));
    EXPECT_EQ(HelpContextPage(20), QStringLiteral("topic20.html"));
    EXPECT_EQ(HelpContextPage(40), QStringLiteral("topic40.html"));
    EXPECT_EQ(HelpContextPage(50), QStringLiteral("topic50.html"));
    for (int other : {0, 1, 30, 60, -10, 100})
        EXPECT_EQ(HelpContextPage(other), QStringLiteral("contents.html")) << other;
    EXPECT_EQ(HelpRoot(), QStringLiteral(":/help/"));
    EXPECT_EQ(HelpPageUrl(QStringLiteral("topic20.html")), QUrl(QStringLiteral("qrc:/help/topic20.html")));
    EXPECT_EQ(HelpPageUrl(QStringLiteral("topic20.html#grid")),
              QUrl(QStringLiteral("qrc:/help/topic20.html#grid")));
}

TEST(HelpKeywordsTest, ParsingSkipsBadLinesAndFilteringPutsPrefixesFirst) {
    const QList<HelpKeyword> keywords = ParseHelpKeywords("zoom\tz.html\n"
                                                          "  Grid lines \t topic10.html#lines \r\n"
                                                          "\tnokeyword.html\n"
                                                          "absolute\t/etc/passwd\n"
                                                          "up\t../x.html\n"
                                                          "script\tjavascript:alert(1)\n"
                                                          "#commented\tc.html\n"
                                                          "background grid\ttopic50.html\n"
                                                          "Ärger\tumlaut.html\n");
    ASSERT_EQ(keywords.size(), 4);
    EXPECT_EQ(keywords[0], (HelpKeyword{"background grid", "topic50.html"}));
    EXPECT_EQ(keywords[1], (HelpKeyword{"Grid lines", "topic10.html#lines"}));
    EXPECT_EQ(keywords[2], (HelpKeyword{"zoom", "z.html"}));
    EXPECT_EQ(keywords[3].keyword, QStringLiteral("Ärger"));

    const QList<HelpKeyword> grid = FilterHelpKeywords(keywords, QStringLiteral("GRI"));
    ASSERT_EQ(grid.size(), 2);
    EXPECT_EQ(grid[0].keyword, QStringLiteral("Grid lines")); // starts with it
    EXPECT_EQ(grid[1].keyword, QStringLiteral("background grid"));
    EXPECT_EQ(FilterHelpKeywords(keywords, QString()), keywords);
    EXPECT_EQ(FilterHelpKeywords(keywords, QStringLiteral("  ")), keywords);
    EXPECT_TRUE(FilterHelpKeywords(keywords, QStringLiteral("nothing")).isEmpty());
}

TEST_F(HelpViewerTest, ContextsOpenTheirPages) {
    EXPECT_EQ(THelpViewer::Existing(), nullptr);
    THelpViewer* viewer = THelpViewer::Instance();
    EXPECT_EQ(THelpViewer::Instance(), viewer); // one for the program
    EXPECT_FALSE(viewer->isVisible());

    const std::pair<int, const char*> contexts[] = {{10, "Main window"},
                                                    {20, "Toolbox"},
                                                    {40, "Preferences"},
                                                    {50, "Model attributes"},
                                                    {33, "Help Contents"}};
    for (const auto& [number, title] : contexts) {
        viewer->ShowContext(number);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_EQ(Title(viewer), QString::fromLatin1(title)) << number;
        EXPECT_EQ(viewer->CurrentPage(), HelpContextPage(number));
    }
    viewer->ShowHowToUseHelp();
    EXPECT_EQ(Title(viewer), QStringLiteral("Using Help"));
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("howto.html"));
    viewer->ShowContents();
    EXPECT_EQ(Title(viewer), QStringLiteral("Help Contents"));
    EXPECT_FALSE(viewer->SearchVisible());
}

TEST_F(HelpViewerTest, ButtonsGoBackForwardAndToTheContents) {
    THelpViewer* viewer = THelpViewer::Instance();
    viewer->ShowContents();
    EXPECT_FALSE(viewer->BackBtn->isEnabled());
    viewer->ShowContext(20);
    viewer->ShowContext(40);
    EXPECT_TRUE(viewer->BackBtn->isEnabled());
    EXPECT_FALSE(viewer->ForwardBtn->isEnabled());

    QTest::mouseClick(viewer->BackBtn, Qt::LeftButton);
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("topic20.html"));
    QTest::mouseClick(viewer->BackBtn, Qt::LeftButton);
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("contents.html"));
    EXPECT_FALSE(viewer->BackBtn->isEnabled());
    EXPECT_TRUE(viewer->ForwardBtn->isEnabled());
    QTest::mouseClick(viewer->ForwardBtn, Qt::LeftButton);
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("topic20.html"));

    QTest::mouseClick(viewer->ContentsBtn, Qt::LeftButton);
    EXPECT_EQ(Title(viewer), QStringLiteral("Help Contents"));

    // A link in a page leads on.
    viewer->Browser->setSource(QUrl(QStringLiteral("topic10.html")));
    EXPECT_EQ(Title(viewer), QStringLiteral("Main window"));
}

TEST_F(HelpViewerTest, SearchFiltersKeywordsAndOpensTheChosenPage) {
    THelpViewer* viewer = THelpViewer::Instance();
    viewer->ShowContext(40);
    viewer->SearchEdit->setText(QStringLiteral("left over"));
    viewer->ShowSearch();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->SearchVisible());
    EXPECT_TRUE(viewer->SearchBtn->isChecked());
    EXPECT_TRUE(viewer->SearchEdit->text().isEmpty()); // opens with an empty search text
    EXPECT_EQ(viewer->focusWidget(), viewer->SearchEdit);
    EXPECT_EQ(Listed(viewer), QStringList({"background grid colour", "Grid", "sounds", "toolbox"}));
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("topic40.html")); // the page stays

    QTest::keyClicks(viewer->SearchEdit, QStringLiteral("gr"));
    EXPECT_EQ(Listed(viewer), QStringList({"Grid", "background grid colour"}));

    // Clicking a keyword opens its page.
    QListWidgetItem* item = viewer->KeywordList->item(1);
    const QRect place = viewer->KeywordList->visualItemRect(item);
    QTest::mouseClick(viewer->KeywordList->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("topic50.html"));

    // Enter in the search field opens the first match.
    viewer->SearchEdit->clear();
    QTest::keyClicks(viewer->SearchEdit, QStringLiteral("TOOL"));
    EXPECT_EQ(Listed(viewer), QStringList({"toolbox"}));
    QTest::keyClick(viewer->SearchEdit, Qt::Key_Return);
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("topic20.html"));

    // Nothing matches: Enter does nothing.
    QTest::keyClicks(viewer->SearchEdit, QStringLiteral("zzz"));
    EXPECT_TRUE(Listed(viewer).isEmpty());
    QTest::keyClick(viewer->SearchEdit, Qt::Key_Return);
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("topic20.html"));

    // The search button hides the search again.
    QTest::mouseClick(viewer->SearchBtn, Qt::LeftButton);
    EXPECT_FALSE(viewer->SearchVisible());
}

TEST_F(HelpViewerTest, MissingPagesGetANoteAndQuitLetsTheWindowGo) {
    THelpViewer* viewer = THelpViewer::Instance();
    viewer->ShowContext(20);
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("topic50.html"))));
    viewer->ShowContext(50);
    EXPECT_TRUE(viewer->Browser->toPlainText().contains(QStringLiteral("\"topic50.html\" is missing")));
    EXPECT_TRUE(viewer->CurrentPage().isEmpty());
    // The page shown before the note comes back when asked for.
    viewer->ShowContext(20);
    EXPECT_EQ(Title(viewer), QStringLiteral("Toolbox"));
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("topic20.html"));

    QPointer<THelpViewer> watched = viewer;
    viewer->Quit();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(THelpViewer::Existing(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());

    // Quitting without a window is harmless; the next use makes a fresh one.
    THelpViewer::QuitHelp();
    THelpViewer* fresh = THelpViewer::Instance();
    ASSERT_NE(fresh, nullptr);
    EXPECT_FALSE(fresh->isVisible());
    fresh->ShowContents();
    EXPECT_EQ(Title(fresh), QStringLiteral("Help Contents"));
}

// The keyword list the program ships, through the viewer's own parser and
// search (the pages themselves are the resource tests' business).
TEST_F(CubestacksTest, ProgramHelpKeywordsEachOpenTheirPlace) {
    InitProgramResources();
    SetHelpRoot(QString());
    THelpViewer* viewer = THelpViewer::Instance();
    // The parser takes every entry of the shipped keyword list.
    QFile file(QStringLiteral(":/help/keywords.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray tsv = file.readAll();
    int entries = 0;
    for (const QByteArray& line : tsv.split('\n'))
        entries += !line.trimmed().isEmpty() && !line.startsWith('#');
    const QList<HelpKeyword> keywords = ParseHelpKeywords(tsv);
    EXPECT_EQ(keywords.size(), entries);

    viewer->ShowSearch();
    ASSERT_EQ(viewer->KeywordList->count(), keywords.size());
    for (const HelpKeyword& entry : keywords) {
        viewer->SearchEdit->setText(entry.keyword);
        QTest::keyClick(viewer->SearchEdit, Qt::Key_Return);
        ASSERT_NE(viewer->KeywordList->currentItem(), nullptr);
        EXPECT_EQ(viewer->KeywordList->currentItem()->text(), entry.keyword);
        EXPECT_EQ(viewer->CurrentPage(), entry.page.section('#', 0, 0)) << entry.keyword.toStdString();
        EXPECT_EQ(viewer->Browser->source().fragment(), entry.page.section('#', 1))
            << entry.keyword.toStdString();
    }
    THelpViewer::QuitHelp();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
