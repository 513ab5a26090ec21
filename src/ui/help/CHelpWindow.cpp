#include "CHelpWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include "HelpMap.h"
#include "Pick.h"

namespace {

// Entries wrap at the list's width instead of running off to the right.
class WrappingDelegate : public QStyledItemDelegate {
  public:
    explicit WrappingDelegate(QListView* view) : QStyledItemDelegate(view), view_(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o(option);
        o.rect.setWidth(qMax(1, view_->viewport()->width() - 2 * view_->spacing()));
        o.features |= QStyleOptionViewItem::WrapText;
        return QStyledItemDelegate::sizeHint(o, index);
    }

  private:
    QListView* view_;
};

// Lists of page titles: as wide as the pane, every word of a long title on a next line.
void wrapEntries(QListWidget* list) {
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setResizeMode(QListView::Adjust);
    list->setItemDelegate(new WrappingDelegate(list));
}

QString readUtf8(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

// Whether url is a page or picture of the help file mounted at root (":/cpshelp").
bool insideHelp(const QUrl& url, const QString& root) {
    const QString folder = root.mid(1) + QLatin1Char('/');  // "/cpshelp/"
    return url.scheme() == QLatin1String("qrc") && QDir::cleanPath(url.path()).startsWith(folder);
}

// A help page is a file anyone could have edited: it shows only what the help file holds,
// never a local file or a page from the network, whatever its links and pictures name.
class HelpBrowser : public QTextBrowser {
  public:
    HelpBrowser(const QString& root, QWidget* parent) : QTextBrowser(parent), root_(root) {}

    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!insideHelp(url, root_)) return QVariant();
        return QTextBrowser::loadResource(type, url);
    }

  private:
    QString root_;
};

}  // namespace

CHelpWindow::CHelpWindow(const QString& root, bool chinese, QWidget* parent)
    : QWidget(parent, Qt::Window), root_(root), chinese_(chinese) {
    setObjectName(QStringLiteral("CHelpWindow"));
    auto t = [this](const char* en, const char* zh) { return cps::pick(chinese_, en, zh); };
    setWindowTitle(t("Help", "帮助"));
    // A top-level window of its own, yet closed like a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto button = [this](QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setText(tip);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        return b;
    };
    back_ = button(QStyle::SP_ArrowBack, t("Back", "后退"));
    back_->setObjectName(QStringLiteral("helpBack"));
    forward_ = button(QStyle::SP_ArrowForward, t("Forward", "前进"));
    forward_->setObjectName(QStringLiteral("helpForward"));
    QToolButton* home = button(QStyle::SP_DirHomeIcon, t("Contents", "目录"));
    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(home);
    bar->addStretch(1);

    browser_ = new HelpBrowser(root_, this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(false);
    // Links are followed here: inside the help file only, web pages in the user's browser.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &CHelpWindow::followLink);
    browser_->setSearchPaths({root_});

    tabs_ = new QTabWidget(this);
    contents_ = new QListWidget(tabs_);
    contents_->setObjectName(QStringLiteral("helpContents"));
    wrapEntries(contents_);
    tabs_->addTab(contents_, t("Contents", "目录"));
    auto* searchPage = new QWidget(tabs_);
    search_ = new QLineEdit(searchPage);
    search_->setObjectName(QStringLiteral("helpSearch"));
    search_->setPlaceholderText(t("Words to find", "要查找的词"));
    auto* find = new QPushButton(t("Find", "查找"), searchPage);
    results_ = new QListWidget(searchPage);
    results_->setObjectName(QStringLiteral("helpResults"));
    wrapEntries(results_);
    auto* sl = new QVBoxLayout(searchPage);
    auto* row = new QHBoxLayout;
    row->addWidget(search_, 1);
    row->addWidget(find);
    sl->addLayout(row);
    sl->addWidget(results_, 1);
    tabs_->addTab(searchPage, t("Search", "搜索"));

    auto* split = new QSplitter(this);
    split->addWidget(tabs_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    // The contents pane is as wide as its longest entry, within reason; longer ones wrap.
    split->setSizes({280, 620});
    split_ = split;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, this, [this] { showTopic(cps::HelpMap::contentsPage()); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(contents_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showTopic(item->data(Qt::UserRole).toString()); });
    connect(contents_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showTopic(item->data(Qt::UserRole).toString()); });
    connect(search_, &QLineEdit::returnPressed, this, &CHelpWindow::runSearch);
    connect(find, &QPushButton::clicked, this, &CHelpWindow::runSearch);
    auto openResult = [this](QListWidgetItem* item) {
        if (item->data(Qt::UserRole).toString().isEmpty()) return;  // "nothing found"
        showTopic(item->data(Qt::UserRole).toString());
        // Mark the first place of the first word on the page.
        const QString first = lastSearch_.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
        if (!first.isEmpty()) browser_->find(first);
    };
    connect(results_, &QListWidget::itemActivated, this, openResult);
    connect(results_, &QListWidget::itemClicked, this, openResult);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        setWindowTitle(cps::pick(chinese_, "Help", "帮助") + QStringLiteral(" - ") +
                       browser_->documentTitle());
        const int i = pages_.indexOf(url.fileName());
        if (i >= 0) contents_->setCurrentRow(i);
    });

    loadContents();
    resize(960, 660);
    fitContents();
}

void CHelpWindow::fitContents() {
    const QFontMetrics fm(contents_->font());
    int longest = 0;
    for (const QString& title : titles_) longest = qMax(longest, fm.horizontalAdvance(title));
    // Room for the item's margins, the list's frame, the tab page and a vertical scroll bar.
    const int chrome = 2 * contents_->frameWidth() + 24 +
                       contents_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int total = 960;
    const int pane = qBound(280, longest + chrome, total * 2 / 5);
    split_->setSizes({pane, total - pane});
}

void CHelpWindow::loadContents() {
    // The contents page lists every page once, in reading order; the list follows it.
    const QString index = readUtf8(root_ + QLatin1Char('/') + cps::HelpMap::contentsPage());
    static const QRegularExpression link(
        QStringLiteral("<a\\s+href=\"([^\"#]+\\.html)\"[^>]*>(.*?)</a>"),
        QRegularExpression::DotMatchesEverythingOption);
    pages_.append(cps::HelpMap::contentsPage());
    titles_.append(cps::pick(chinese_, "Contents", "目录"));
    for (auto it = link.globalMatch(index); it.hasNext();) {
        const auto m = it.next();
        if (pages_.contains(m.captured(1))) continue;
        QTextDocument text;
        text.setHtml(m.captured(2));
        pages_.append(m.captured(1));
        titles_.append(text.toPlainText().simplified());
    }
    for (int i = 0; i < pages_.size(); ++i) {
        auto* item = new QListWidgetItem(titles_[i], contents_);
        item->setData(Qt::UserRole, pages_[i]);
    }
}

QUrl CHelpWindow::source() const { return browser_->source(); }

void CHelpWindow::followLink(const QUrl& link) {
    const QUrl url = link.isRelative() ? browser_->source().resolved(link) : link;
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
        QDesktopServices::openUrl(url);
        return;
    }
    if (insideHelp(url, root_)) browser_->setSource(url);
    // Anything else (file:, mailto:, a path outside the help file) does nothing.
}

void CHelpWindow::showTopic(const QString& topic) {
    const QString target = topic.isEmpty() ? cps::HelpMap::contentsPage() : topic;
    const QUrl url(QStringLiteral("qrc") + root_ + QLatin1Char('/') + target);
    if (browser_->source().adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment) &&
        url.hasFragment()) {
        browser_->scrollToAnchor(url.fragment());
    }
    browser_->setSource(url);
}

QString CHelpWindow::pageText(const QString& page) const {
    QTextDocument doc;
    doc.setHtml(readUtf8(root_ + QLatin1Char('/') + page));
    return doc.toPlainText();
}

QStringList CHelpWindow::search(const QString& words) const {
    const QStringList wanted = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList found;
    if (wanted.isEmpty()) return found;
    for (const QString& page : pages_) {
        const QString text = pageText(page);
        bool all = true;
        for (const QString& w : wanted) all = all && text.contains(w, Qt::CaseInsensitive);
        if (all) found.append(page);
    }
    return found;
}

void CHelpWindow::runSearch() {
    lastSearch_ = search_->text().simplified();
    results_->clear();
    const QStringList found = search(lastSearch_);
    for (const QString& page : found) {
        auto* item = new QListWidgetItem(titles_.value(pages_.indexOf(page), page), results_);
        item->setData(Qt::UserRole, page);
    }
    if (found.isEmpty())
        new QListWidgetItem(cps::pick(chinese_, "(nothing found)", "(未找到)"), results_);
}
