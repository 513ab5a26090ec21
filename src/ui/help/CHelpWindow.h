#pragma once

#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QSplitter;
class QTabWidget;
class QTextBrowser;
class QToolButton;

// The help viewer: the pages of one help file with their contents, back, forward and a
// search over every page.
class CHelpWindow : public QWidget {
    Q_OBJECT
  public:
    // root: the resource folder the help file's pages are in, e.g. ":/cpshelp".
    CHelpWindow(const QString& root, bool chinese, QWidget* parent = nullptr);

    // topic: a page, optionally with "#place".
    void showTopic(const QString& topic);
    QUrl source() const;
    QTextBrowser* browser() const { return browser_; }
    QListWidget* contents() const { return contents_; }
    QListWidget* results() const { return results_; }
    QLineEdit* searchField() const { return search_; }

    // Pages whose text holds every word of words (ignoring case), in contents order.
    QStringList search(const QString& words) const;

  private:
    void followLink(const QUrl& link);
    void loadContents();
    void fitContents();
    void runSearch();
    QString pageText(const QString& page) const;

    QString root_;
    bool chinese_;
    QTextBrowser* browser_;
    QTabWidget* tabs_;
    QListWidget* contents_;
    QSplitter* split_ = nullptr;
    QLineEdit* search_;
    QListWidget* results_;
    QToolButton* back_;
    QToolButton* forward_;
    QStringList pages_;   // in contents order
    QStringList titles_;  // of pages_
    QString lastSearch_;
};
