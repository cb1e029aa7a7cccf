#include "app_fixture.h"

#include "resources/program_resources.h"

#include <QListWidget>
#include <QPointer>
#include <QTextBrowser>

namespace {

class HelpViewerTest : public CubestacksTest {
protected:
    void SetUp() override {
        for (const char* page : {"contents", "howto", "topic10", "topic20", "topic40", "topic50"})
            ASSERT_TRUE(WriteBytes(
                dir.filePath(S(page) + ".html"),
                S("<html><head><title>%1</title></head><body>%1</body></html>").arg(page).toUtf8()));
        ASSERT_TRUE(WriteBytes(dir.filePath(S("keywords.tsv")),
                               "Grid\ttopic10.html\r\ntoolbox\ttopic20.html\n\n# a comment\n"
                               "background grid colour\ttopic50.html\nsounds\ttopic40.html\n"
                               "broken line without a tab\nescape\t../outside.html\n"));
        SetHelpRoot(dir.path());
        viewer = THelpViewer::Instance();
    }
    void TearDown() override {
        THelpViewer::QuitHelp();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetHelpRoot(QString());
    }
    QString Title() const { return viewer->Browser->documentTitle(); }
    QStringList Listed() const {
        QStringList out;
        for (int i = 0; i < viewer->KeywordList->count(); ++i)
            out << viewer->KeywordList->item(i)->text();
        return out;
    }
    QTemporaryDir dir;
    THelpViewer* viewer = nullptr;
};

TEST(HelpKeywordsTest, ParsingSkipsBadLinesAndFilteringPutsPrefixesFirst) {
    const QList<HelpKeyword> keywords =
        ParseHelpKeywords("zoom\tz.html\n"
                          "  Grid lines \t topic10.html#lines \r\n"
                          "\tnokeyword.html\nabsolute\t/etc/passwd\n"
                          "up\t../x.html\nscript\tjavascript:alert(1)\n"
                          "#commented\tc.html\nbackground grid\ttopic50.html\n");
    ASSERT_EQ(keywords, QList<HelpKeyword>({{"background grid", "topic50.html"},
                                            {"Grid lines", "topic10.html#lines"},
                                            {"zoom", "z.html"}}));
    EXPECT_EQ(FilterHelpKeywords(keywords, S("GRI")),
              QList({keywords[1], keywords[0]})); // starts with it first
    EXPECT_EQ(FilterHelpKeywords(keywords, S("  ")), keywords);
    EXPECT_EQ(HelpPageUrl(S("topic20.html#grid")), QUrl(S("qrc:/help/topic20.html#grid")));
}

TEST_F(HelpViewerTest, ContextsButtonsAndAMissingPage) {
    EXPECT_EQ(THelpViewer::Instance(), viewer); // one for the program
    for (const QString& pair :
         S("10:topic10 20:topic20 40:topic40 50:topic50 33:contents 60:contents").split(' ')) {
        viewer->ShowContext(pair.section(':', 0, 0).toInt());
        EXPECT_EQ(Title(), pair.section(':', 1)) << pair.toStdString();
    }
    viewer->ShowHowToUseHelp();
    EXPECT_EQ(Title(), S("howto"));
    viewer->ShowContext(20);
    viewer->ShowContext(40);
    EXPECT_FALSE(viewer->ForwardBtn->isEnabled());
    QTest::mouseClick(viewer->BackBtn, Qt::LeftButton);
    QTest::mouseClick(viewer->BackBtn, Qt::LeftButton);
    EXPECT_EQ(viewer->CurrentPage(), S("howto.html"));
    QTest::mouseClick(viewer->ForwardBtn, Qt::LeftButton);
    EXPECT_EQ(viewer->CurrentPage(), S("topic20.html"));
    QTest::mouseClick(viewer->ContentsBtn, Qt::LeftButton);
    EXPECT_EQ(Title(), S("contents"));

    ASSERT_TRUE(QFile::remove(dir.filePath(S("topic50.html"))));
    viewer->ShowContext(50);
    EXPECT_EQ(std::pair(viewer->Browser->toPlainText().contains(S("\"topic50.html\" is missing")),
                        viewer->CurrentPage()),
              std::pair(true, QString()));
    viewer->ShowContext(20);
    EXPECT_EQ(Title(), S("topic20"));
    QPointer<THelpViewer> watched = viewer;
    viewer->Quit();
    EXPECT_EQ(THelpViewer::Existing(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
    viewer = THelpViewer::Instance();
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(HelpViewerTest, SearchFiltersKeywordsAndOpensTheChosenPage) {
    viewer->ShowContext(40);
    viewer->SearchEdit->setText(S("left over"));
    viewer->ShowSearch();
    EXPECT_EQ(std::tuple(viewer->SearchBtn->isChecked(), viewer->SearchEdit->text(), Listed(),
                         viewer->CurrentPage()),
              std::tuple(true, QString(),
                         QStringList({"background grid colour", "Grid", "sounds", "toolbox"}),
                         S("topic40.html"))); // the page stays
    QTest::keyClicks(viewer->SearchEdit, S("gr"));
    EXPECT_EQ(std::pair(Listed(), viewer->KeywordList->currentRow()), // the first match chosen
              std::pair(QStringList({"Grid", "background grid colour"}), 0));
    const QRect place = viewer->KeywordList->visualItemRect(viewer->KeywordList->item(1));
    QTest::mouseClick(viewer->KeywordList->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    EXPECT_EQ(viewer->CurrentPage(), S("topic50.html"));
    viewer->SearchEdit->clear(); // Enter opens the first match, or nothing
    QTest::keyClicks(viewer->SearchEdit, S("TOOL"));
    QTest::keyClick(viewer->SearchEdit, Qt::Key_Return);
    EXPECT_EQ(viewer->CurrentPage(), S("topic20.html"));
    QTest::keyClicks(viewer->SearchEdit, S("zzz"));
    QTest::keyClick(viewer->SearchEdit, Qt::Key_Return);
    EXPECT_EQ(viewer->CurrentPage(), S("topic20.html"));
    QTest::mouseClick(viewer->SearchBtn, Qt::LeftButton);
    EXPECT_FALSE(viewer->SearchVisible());
}

TEST_F(CubestacksTest, ProgramHelpKeywordsEachOpenTheirPlace) {
    InitProgramResources();
    SetHelpRoot(QString());
    THelpViewer* viewer = THelpViewer::Instance();
    const QList<HelpKeyword> keywords = ParseHelpKeywords(ReadAll(S(":/help/keywords.tsv")));
    EXPECT_GT(keywords.size(), 10);
    viewer->ShowSearch();
    for (const HelpKeyword& entry : keywords) {
        viewer->SearchEdit->setText(entry.keyword);
        QTest::keyClick(viewer->SearchEdit, Qt::Key_Return);
        EXPECT_EQ(viewer->Browser->source().toString().section('/', -1), entry.page)
            << entry.keyword.toStdString();
    }
    THelpViewer::QuitHelp();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
