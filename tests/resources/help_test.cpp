// The help pages: every page the help viewer opens is there, renders with a
// title, and every link and search keyword leads to a page and place that
// exists.
#include "resource_checks.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

const QStringList kPages = {"contents.html", "howto.html",   "topic10.html",
                            "topic20.html",  "topic40.html", "topic50.html"};

QString Page(const QString& name) {
    return QString::fromUtf8(ReadAll(":/help/" + name));
}

// The targets of the page's links, as written.
QStringList Links(const QString& html) {
    static const QRegularExpression href(QStringLiteral("<a\\s[^>]*href=\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList links;
    for (const QRegularExpressionMatch& m : href.globalMatch(html))
        links << m.captured(1);
    return links;
}

bool HasAnchor(const QString& html, const QString& anchor) {
    return html.contains("name=\"" + anchor + "\"") || html.contains("id=\"" + anchor + "\"");
}

// Why a link target ("page.html" or "page.html#place") leads nowhere; empty when it is good.
QString BrokenTarget(const QString& target) {
    const QString page = target.section('#', 0, 0);
    const QString anchor = target.section('#', 1);
    static const QRegularExpression plain(QStringLiteral("^[a-z0-9_]+\\.html$"));
    if (!plain.match(page).hasMatch())
        return "not a page of the help folder: " + target;
    if (!QFile::exists(":/help/" + page))
        return "missing page: " + page;
    if (!anchor.isEmpty() && !HasAnchor(Page(page), anchor))
        return "no place \"" + anchor + "\" in " + page;
    return QString();
}

class HelpTest : public ResourceTest {};

TEST_F(HelpTest, EveryPageRendersAndIsReachableFromTheContentsAndEveryLinkLeadsSomewhere) {
    QSet<QString> reached = {"contents.html"};
    QStringList queue = {"contents.html"};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        for (const QString& link : Links(Page(page))) {
            const QString target = link.section('#', 0, 0);
            if (!target.isEmpty() && !reached.contains(target) && QFile::exists(":/help/" + target)) {
                reached.insert(target);
                queue << target;
            }
        }
    }
    for (const QString& name : kPages) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(reached.contains(name)) << "cannot be reached";
        QTextBrowser browser;
        browser.setSource(QUrl("qrc:/help/" + name));
        EXPECT_FALSE(browser.document()->metaInformation(QTextDocument::DocumentTitle).trimmed().isEmpty());
        EXPECT_GT(browser.toPlainText().size(), 400) << "hardly any text";
        EXPECT_FALSE(browser.toPlainText().contains('<')) << "markup shows as text";
        const QStringList links = Links(Page(name));
        EXPECT_TRUE(links.contains("contents.html")) << "no way back to the contents";
        for (const QString& link : links) {
            const QString problem = BrokenTarget(link.startsWith('#') ? name + link : link);
            EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
        }
    }
}

TEST_F(HelpTest, SearchKeywordsAreUniqueAndLeadToPagesThatExist) {
    const QString tsv = QString::fromUtf8(ReadAll(":/help/keywords.tsv"));
    ASSERT_FALSE(tsv.isEmpty());
    QSet<QString> keywords, pagesFound;
    int lines = 0;
    for (const QString& line : tsv.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        ++lines;
        SCOPED_TRACE(line.toStdString());
        const QStringList fields = line.split('\t');
        ASSERT_EQ(fields.size(), 2) << "not keyword<TAB>page";
        const QString keyword = fields[0].trimmed().toLower();
        EXPECT_FALSE(keyword.isEmpty());
        EXPECT_FALSE(keywords.contains(keyword)) << "keyword twice";
        keywords.insert(keyword);
        const QString problem = BrokenTarget(fields[1]);
        EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
        pagesFound.insert(fields[1].section('#', 0, 0));
    }
    EXPECT_GT(lines, 30);
    for (const QString& name : kPages)
        EXPECT_TRUE(pagesFound.contains(name)) << "no keyword leads to " << name.toStdString();
}

} // namespace
