#include "app/help_viewer.h"

#include "common/messages.h"
#include "resources/program_resources.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const char* const kResourceHelpRoot = ":/help/";

struct HelpState {
    QString root;
    QPointer<THelpViewer> viewer;
};

HelpState& State() {
    static HelpState state;
    return state;
}

// A page of the help folder: a plain file name, optionally with an anchor.
bool IsPlainPageName(const QString& page) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-]+\\.html?(#[A-Za-z0-9_.-]+)?$"));
    return pattern.match(page).hasMatch();
}

QString WithoutAnchor(const QString& page) {
    return page.section('#', 0, 0);
}

} // namespace

QString HelpContextPage(int number) {
    switch (number) {
    case 10:
        return QStringLiteral("topic10.html");
    case 20:
        return QStringLiteral("topic20.html");
    case 40:
        return QStringLiteral("topic40.html");
    case 50:
        return QStringLiteral("topic50.html");
    default:
        return QStringLiteral("contents.html");
    }
}

QString HelpRoot() {
    return State().root.isEmpty() ? QString::fromLatin1(kResourceHelpRoot) : State().root;
}

void SetHelpRoot(const QString& root) {
    QString folder = root;
    if (!folder.isEmpty() && !folder.endsWith('/'))
        folder += '/';
    State().root = folder;
}

QUrl HelpPageUrl(const QString& page) {
    const QString root = HelpRoot();
    const QString file = WithoutAnchor(page);
    const QString anchor = page.section('#', 1);
    QUrl url;
    if (root.startsWith(':')) {
        url.setScheme(QStringLiteral("qrc"));
        url.setPath(root.mid(1) + file);
    } else {
        url = QUrl::fromLocalFile(root + file);
    }
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QList<HelpKeyword> ParseHelpKeywords(const QByteArray& tsv) {
    QList<HelpKeyword> keywords;
    const QString text = QString::fromUtf8(tsv);
    for (const QString& rawLine : text.split('\n')) {
        QString line = rawLine;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0)
            continue;
        const QString keyword = line.left(tab).trimmed();
        const QString page = line.mid(tab + 1).trimmed();
        if (keyword.isEmpty() || !IsPlainPageName(page))
            continue;
        keywords.push_back({keyword, page});
    }
    std::stable_sort(keywords.begin(), keywords.end(), [](const HelpKeyword& a, const HelpKeyword& b) {
        return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
    });
    return keywords;
}

QList<HelpKeyword> FilterHelpKeywords(const QList<HelpKeyword>& keywords, const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return keywords;
    QList<HelpKeyword> starting;
    QList<HelpKeyword> containing;
    for (const HelpKeyword& entry : keywords) {
        if (entry.keyword.startsWith(wanted, Qt::CaseInsensitive))
            starting.push_back(entry);
        else if (entry.keyword.contains(wanted, Qt::CaseInsensitive))
            containing.push_back(entry);
    }
    return starting + containing;
}

THelpViewer* THelpViewer::Instance() {
    HelpState& state = State();
    if (!state.viewer)
        state.viewer = new THelpViewer;
    return state.viewer;
}

THelpViewer* THelpViewer::Existing() {
    return State().viewer;
}

void THelpViewer::QuitHelp() {
    if (THelpViewer* viewer = Existing())
        viewer->Quit();
}

THelpViewer::THelpViewer() : QWidget(nullptr, Qt::Window) {
    InitProgramResources(); // the pages are resources of a static library
    setWindowTitle(QString::fromLatin1(kProgramTitle) + QStringLiteral(" Help"));
    resize(760, 540);

    ContentsBtn = new QPushButton(QStringLiteral("&Contents"), this);
    SearchBtn = new QPushButton(QStringLiteral("&Search"), this);
    BackBtn = new QPushButton(QStringLiteral("&Back"), this);
    ForwardBtn = new QPushButton(QStringLiteral("&Forward"), this);
    BackBtn->setEnabled(false);
    ForwardBtn->setEnabled(false);
    for (QPushButton* button : {ContentsBtn, SearchBtn, BackBtn, ForwardBtn})
        button->setAutoDefault(false);
    SearchBtn->setCheckable(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ContentsBtn);
    buttons->addWidget(SearchBtn);
    buttons->addWidget(BackBtn);
    buttons->addWidget(ForwardBtn);
    buttons->addStretch(1);

    SearchPanel = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(SearchPanel);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    auto* searchLabel =
        new QLabel(QStringLiteral("&Type the first letters of the word you are looking for:"), SearchPanel);
    searchLabel->setWordWrap(true);
    SearchEdit = new QLineEdit(SearchPanel);
    SearchEdit->setClearButtonEnabled(true);
    searchLabel->setBuddy(SearchEdit);
    KeywordList = new QListWidget(SearchPanel);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(SearchEdit);
    searchLayout->addWidget(KeywordList, 1);
    SearchPanel->hide();

    Browser = new QTextBrowser(this);
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(SearchPanel);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 540});
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(ContentsBtn, &QPushButton::clicked, this, [this] { ShowContents(); });
    connect(SearchBtn, &QPushButton::clicked, this, [this](bool checked) {
        if (checked)
            ShowSearch();
        else
            SearchPanel->hide();
    });
    connect(BackBtn, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(ForwardBtn, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, BackBtn, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardBtn, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] { m_missingPage.clear(); });
    connect(SearchEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { FillKeywordList(text); });
    connect(SearchEdit, &QLineEdit::returnPressed, this, [this] { SearchEntered(); });
    connect(KeywordList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { KeywordChosen(item); });
    connect(KeywordList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { KeywordChosen(item); });

    LoadKeywords();
    FillKeywordList(QString());
}

THelpViewer::~THelpViewer() = default;

void THelpViewer::LoadKeywords() {
    QFile file(HelpRoot() + QStringLiteral("keywords.tsv"));
    m_keywords.clear();
    if (file.open(QIODevice::ReadOnly))
        m_keywords = ParseHelpKeywords(file.readAll());
}

void THelpViewer::FillKeywordList(const QString& text) {
    KeywordList->clear();
    for (const HelpKeyword& entry : FilterHelpKeywords(m_keywords, text)) {
        auto* item = new QListWidgetItem(entry.keyword, KeywordList);
        item->setData(Qt::UserRole, entry.page);
    }
    if (KeywordList->count() > 0)
        KeywordList->setCurrentRow(0);
}

void THelpViewer::KeywordChosen(QListWidgetItem* item) {
    if (item)
        OpenPage(item->data(Qt::UserRole).toString());
}

void THelpViewer::SearchEntered() {
    QListWidgetItem* item = KeywordList->currentItem();
    if (!item && KeywordList->count() > 0)
        item = KeywordList->item(0);
    KeywordChosen(item);
}

void THelpViewer::Present() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void THelpViewer::OpenPage(const QString& page) {
    const QString path = HelpRoot() + WithoutAnchor(page);
    if (!IsPlainPageName(page) || !QFileInfo(path).isFile()) {
        // A missing page gets a clear note rather than an empty window.
        Browser->setHtml(QStringLiteral("<h2>Help page not found</h2><p>The help page \"%1\" is missing from "
                                        "this installation.</p>")
                             .arg(page.toHtmlEscaped()));
        m_missingPage = page;
        return;
    }
    m_missingPage.clear();
    Browser->setSource(HelpPageUrl(page));
}

void THelpViewer::ShowContents() {
    OpenPage(HelpContextPage(0));
    Present();
}

void THelpViewer::ShowSearch() {
    SearchPanel->show();
    SearchBtn->setChecked(true);
    SearchEdit->clear();
    FillKeywordList(QString());
    if (Browser->source().isEmpty() && m_missingPage.isEmpty())
        OpenPage(HelpContextPage(0));
    Present();
    SearchEdit->setFocus(Qt::OtherFocusReason);
}

void THelpViewer::ShowHowToUseHelp() {
    OpenPage(QStringLiteral("howto.html"));
    Present();
}

void THelpViewer::ShowContext(int number) {
    OpenPage(HelpContextPage(number));
    Present();
}

void THelpViewer::Quit() {
    if (State().viewer == this)
        State().viewer = nullptr;
    close();
    deleteLater();
}

QString THelpViewer::CurrentPage() const {
    if (!m_missingPage.isEmpty())
        return QString();
    const QUrl source = Browser->source();
    if (source.isEmpty())
        return QString();
    return QFileInfo(source.path()).fileName();
}

bool THelpViewer::SearchVisible() const {
    return SearchPanel->isVisibleTo(this);
}
