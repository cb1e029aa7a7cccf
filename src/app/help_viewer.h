#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTextBrowser;

// The help page of a help context number: 10 the main window, 20 the toolbox,
// 40 the preferences, 50 the attributes dialog; any other number the contents.
QString HelpContextPage(int number);

// The folder the help pages come from, with a trailing '/': the program's
// resources (":/help/") unless tests point it at a folder of their own.
QString HelpRoot();
void SetHelpRoot(const QString& root); // empty: back to ":/help/"

// The address of a page of the help folder (qrc: for resources, file: otherwise).
QUrl HelpPageUrl(const QString& page);

// A search word and the page it leads to.
struct HelpKeyword {
    QString keyword;
    QString page;
    bool operator==(const HelpKeyword&) const = default;
};

// Lines "keyword<TAB>page.html" (UTF-8). Blank lines, lines starting with '#',
// and lines without a keyword or with anything but a plain page name in the
// help folder are skipped. Sorted by keyword, ignoring letter case.
QList<HelpKeyword> ParseHelpKeywords(const QByteArray& tsv);

// The keywords containing the text (ignoring letter case), those that start
// with it first; all of them for an empty text.
QList<HelpKeyword> FilterHelpKeywords(const QList<HelpKeyword>& keywords, const QString& text);

// The help window: the program's help pages in a browser with contents, back
// and forward buttons, and a search list of keywords. One for the whole program.
class THelpViewer : public QWidget {
    Q_OBJECT
public:
    // The program's help window, made on first use.
    static THelpViewer* Instance();
    // The help window if there is one (nullptr before first use and after Quit).
    static THelpViewer* Existing();
    // Tells the existing help window, if any, to quit.
    static void QuitHelp();
    ~THelpViewer() override;

    void ShowContents();
    // The search with an empty search text.
    void ShowSearch();
    void ShowHowToUseHelp();
    void ShowContext(int number);
    // Closes the window and lets it go; the next use makes a fresh one.
    void Quit();

    // The page shown, as a name in the help folder ("topic10.html"); empty when none.
    QString CurrentPage() const;
    bool SearchVisible() const;

    QTextBrowser* Browser = nullptr;
    QPushButton* ContentsBtn = nullptr;
    QPushButton* SearchBtn = nullptr;
    QPushButton* BackBtn = nullptr;
    QPushButton* ForwardBtn = nullptr;
    QWidget* SearchPanel = nullptr;
    QLineEdit* SearchEdit = nullptr;
    QListWidget* KeywordList = nullptr;

private:
    THelpViewer();

    void OpenPage(const QString& page);
    void Present();
    void LoadKeywords();
    void FillKeywordList(const QString& text);
    void KeywordChosen(QListWidgetItem* item);
    void SearchEntered();

    QList<HelpKeyword> m_keywords;
    QString m_missingPage;
};
