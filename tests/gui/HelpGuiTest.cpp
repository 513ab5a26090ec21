#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>
#include <memory>
#ifdef Q_OS_UNIX
#include <signal.h>
#endif

#include "CAboutDlg.h"
#include "CHelpWindow.h"
#include "CLanguageDlg.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramView.h"
#include "HelpContext.h"
#include "HelpSystem.h"
#include "PortSettingDlg.h"
#include "ProgramFolder.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "Startup.h"
#include "Version.h"
#include "WaitUntil.h"

using cps::test::onModal;

namespace {

const char* kIni =
    "[Setup]\r\nLanguage=English\r\nAppName=HelpTest\r\nShowLang=1\r\n"
    "[English]\r\nTitle=Test Title\r\nCompany=Test Company\r\nAbout Title=About Test\r\n"
    "Version=\r\nCopyrights=Copyright (C) Test\r\nCopyrights Owner=\r\n"
    "[Chinese]\r\nTitle=测试标题\r\nCompany=测试公司\r\n";

// The dialog's OK button pressed by mouse.
void clickOk(QWidget* dialog) {
    QCOMPARE(cps::test::clickSeen(cps::test::buttonReading(dialog, QStringLiteral("OK"))),
             QString());
}

// Takes the web links the help window hands to the user's browser.
class BrowserStandIn : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

// Ignores the main window's close, as a dealer answering Cancel to the save question does.
class KeepOpen : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close) return false;
        event->ignore();
        return true;
    }
};

}  // namespace

class HelpGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

    struct Launch {
        QString program;
        QStringList arguments;
        QString settingsAtLaunch;
    };
    QList<Launch> launches_;

    QString settings() const {
        return QString::fromUtf8(dir_->read(QStringLiteral("Program.ini")));
    }

    void prepare(bool withHelp = true, const QStringList& extra = {}) {
        QStringList files = cps::test::ProgramFolder::languageFiles();
        if (withHelp) files << QStringLiteral("enHelp.rcc") << QStringLiteral("chHelp.rcc");
        dir_ = std::make_unique<cps::test::ProgramFolder>(kIni, files + extra);
        QCOMPARE(dir_->error(), QString());
        launches_.clear();
    }

    bool start(std::function<bool(const QString&, const QStringList&)> launch = {},
               const QString& program = QStringLiteral("/opt/cps/Program")) {
        Startup::Options o = cps::test::startOptions(*dir_, prompter_);
        o.showWindow = false;
        o.programPath = program;
        o.arguments = {QStringLiteral("radio.dat"), QStringLiteral("-nosplash")};
        o.launch = launch ? launch : [this](const QString& program, const QStringList& args) {
            launches_.append({program, args, settings()});
            return true;
        };
        startup_ = std::make_unique<Startup>(o);
        return startup_->start();
    }

    // The command chosen from its menu by mouse, the window shown first as the user sees it.
    void choose(int command) {
        frame()->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame()));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(command)), QString());
    }

    // Setup > Language with the dialog answered by clicking chinese (or english) and OK.
    void chooseLanguage(bool chinese) {
        bool answered = false;
        onModal([chinese, &answered](QWidget* modal) {
            auto* dlg = qobject_cast<CLanguageDlg*>(modal);
            QVERIFY(dlg);
            QVERIFY(dlg->englishButton()->isChecked());
            QCOMPARE(cps::test::clickSeen(chinese ? dlg->chineseButton() : dlg->englishButton()),
                     QString());
            QCOMPARE(dlg->chineseButton()->isChecked(), chinese);
            clickOk(dlg);
            answered = true;
        });
        choose(cmd::Language);
        QVERIFY(answered);
    }

  private slots:
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    void sameLanguageWritesNothingAndStartsNothing() {
        prepare(false);
        QVERIFY(start());
        const QString before = settings();
        frame()->show();
        chooseLanguage(false);
        QVERIFY(frame()->isVisible());
        QCOMPARE(settings(), before);
        QVERIFY(!startup_->restartPending());
        startup_->exit();
        QVERIFY(launches_.isEmpty());
    }

    void otherLanguageIsWrittenBeforeTheRestart() {
        prepare(false);
        QVERIFY(start());
        frame()->show();
        chooseLanguage(true);
        // The window closed the usual way; the file already says Chinese.
        QVERIFY(!frame()->isVisible());
        QVERIFY(settings().contains(QStringLiteral("Language=Chinese")));
        QVERIFY(startup_->restartPending());
        startup_->exit();
        QCOMPARE(launches_.size(), 1);
        QCOMPARE(launches_[0].program, QStringLiteral("/opt/cps/Program"));
        // The same arguments, but the data file stays behind.
        QCOMPARE(launches_[0].arguments, QStringList{QStringLiteral("-nosplash")});
        QVERIFY(launches_[0].settingsAtLaunch.contains(QStringLiteral("Language=Chinese")));
        QVERIFY(launches_[0].settingsAtLaunch.contains(QStringLiteral("EnableSql=0")));
    }

    // Keyboard only: the dialog opens on the language in use, and an arrow key picks the
    // other one, as in any radio group, before Enter confirms. Started in Chinese, the second
    // of the two buttons is the one in use.
    void arrowKeyAndEnterChooseTheOtherLanguage() {
        prepare(false);
        QVERIFY(dir_->write(QStringLiteral("Program.ini"),
                            QByteArray(kIni).replace("Language=English", "Language=Chinese")));
        QVERIFY(start());
        frame()->show();
        bool radioFocused = false;
        bool picked = false;
        onModal<CLanguageDlg>([&](CLanguageDlg* dlg) {
            // Keys reach the active dialog's focused widget, or the dialog when it has none.
            const auto keyTarget = [dlg]() -> QWidget* {
                QWidget* f = dlg->focusWidget();
                return f ? f : dlg;
            };
            radioFocused = keyTarget()->inherits("QRadioButton");
            QTest::keyClick(keyTarget(), Qt::Key_Up);
            picked = dlg->englishButton()->isChecked();
            // Enter confirms only what was picked; otherwise the dialog goes away unanswered.
            QTest::keyClick(keyTarget(), picked ? Qt::Key_Return : Qt::Key_Escape);
        });
        choose(cmd::Language);
        QVERIFY(radioFocused);
        QVERIFY(picked);
        QVERIFY(settings().contains(QStringLiteral("Language=English")));
        QVERIFY(startup_->restartPending());
    }

    void keepingTheWindowOpenAbandonsTheSwitch() {
        prepare(false);
        QVERIFY(start());
        frame()->show();
        KeepOpen keep;
        frame()->installEventFilter(&keep);
        chooseLanguage(true);
        frame()->removeEventFilter(&keep);
        QVERIFY(frame()->isVisible());
        QVERIFY(settings().contains(QStringLiteral("Language=English")));
        QVERIFY(!startup_->restartPending());
        startup_->exit();
        QVERIFY(launches_.isEmpty());
    }

#ifdef Q_OS_UNIX
    void realRestartComesUpInTheNewLanguage() {
        prepare(true, {QStringLiteral("Program")});
        const QString report = path(QStringLiteral("started.txt"));
        qputenv("CPS_STARTUP_REPORT", report.toLocal8Bit());
        qint64 pid = 0;
        // The copy beside the test's settings is "the program's own executable" here.
        QVERIFY(start(
            [&pid](const QString& program, const QStringList& args) {
                return QProcess::startDetached(program, args, QString(), &pid);
            },
            path(QStringLiteral("Program"))));
        frame()->show();
        chooseLanguage(true);
        startup_->exit();
        qunsetenv("CPS_STARTUP_REPORT");
        QVERIFY(pid > 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(report).size() > 0, 20000);
        ::kill(static_cast<pid_t>(pid), SIGTERM);
        QFile f(report);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readLine()).trimmed(), QStringLiteral("测试标题"));
    }
#endif

    void aboutShowsTheSettingsLinesAndTheProgramVersion() {
        prepare(false);
        QVERIFY(start());
        const cps::Settings& ctx = startup_->settings();
        CAboutDlg dlg(ctx.profile(), ctx.languageName, ctx.chinese, ctx.programDir);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("About Test"));
        QCOMPARE(dlg.line(1098)->text(), QStringLiteral("Version ") + QLatin1String(cps::kVersion));
        QCOMPARE(dlg.line(1099)->text(), QStringLiteral("Copyright (C) Test"));
        QVERIFY(dlg.line(1100)->text().isEmpty());
        auto* reserved = dlg.findChild<QLabel*>(QStringLiteral("reserved"));
        QVERIFY(reserved);
        QCOMPARE(reserved->text(), QStringLiteral("All Rights Reserved"));
        dlg.show();
        // The empty owner line keeps its row: the fixed line stays below it.
        QVERIFY(reserved->y() > dlg.line(1100)->y());
        QVERIFY(!dlg.iconFromFile());
        QVERIFY(!dlg.icon()->pixmap().isNull());

        // Help > About is live.
        bool shown = false;
        onModal([&shown](QWidget* modal) {
            shown = qobject_cast<CAboutDlg*>(modal) != nullptr;
            clickOk(modal);
        });
        choose(cmd::About);
        QVERIFY(shown);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void helpTopicsAndF1OverTheGridShowTheirPages() {
        prepare();
        QVERIFY(start());
        frame()->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame()));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::HelpTopics)),
                 QString());
        CHelpWindow* help = frame()->help()->window();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->source().fileName(), QStringLiteral("index.html"));
        QVERIFY(help->contents()->count() >= 20);

        frame()->activeView()->grid()->setFocus();
        QTest::keyClick(frame()->activeView()->grid(), Qt::Key_F1);
        QCOMPARE(help->source().fileName(), QStringLiteral("channels.html"));
        QVERIFY(help->browser()->isBackwardAvailable());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QCOMPARE(cps::test::clickSeen(help->findChild<QToolButton*>(QStringLiteral("helpBack"))),
                 QString());
        QCOMPARE(help->source().fileName(), QStringLiteral("index.html"));

        const QStringList found = help->search(QStringLiteral("password error"));
        QVERIFY(found.contains(QStringLiteral("readwrite.html")));
        QVERIFY(found.contains(QStringLiteral("optional.html")));
        QVERIFY(!found.contains(QStringLiteral("msk.html")));
    }

    // A help page with links to a local file, a web page and another help page, clicked as
    // a user clicks them.
    void helpLinksStayInsideTheHelpFile() {
        prepare();
        QVERIFY(start());
        frame()->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame()));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::HelpTopics)),
                 QString());
        CHelpWindow* help = frame()->help()->window();
        QVERIFY(help && help->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QTextBrowser* browser = help->browser();
        QFile secret(path(QStringLiteral("secret.html")));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("<p>SECRET LOCAL TEXT</p>");
        secret.close();
        browser->append(
            QStringLiteral("<p><a href=\"%1\">LOCALFILE</a></p>"
                           "<p><a href=\"https://example.com/manual\">WEBPAGE</a></p>"
                           "<p><a href=\"../../%2\">UPWARDS</a></p>"
                           "<p><a href=\"channels.html\">CHANNELS</a></p>")
                .arg(QUrl::fromLocalFile(secret.fileName()).toString(), secret.fileName().mid(1)));
        BrowserStandIn web;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &web, "open");
        const QUrl start = browser->source();

        auto click = [browser](const QString& label) {
            QTextCursor found = browser->document()->find(label);
            QVERIFY2(!found.isNull(), qPrintable(label));
            found.setPosition(found.selectionStart() + 1);
            browser->setTextCursor(found);  // scrolled to, as a reader would
            browser->ensureCursorVisible();
            const QPoint at = browser->cursorRect(found).center();
            const QPoint global = browser->viewport()->mapToGlobal(at);
            QCOMPARE(QApplication::widgetAt(global), browser->viewport());
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            QVERIFY(cps::test::processPending());  // all the click set going has run
        };
        click(QStringLiteral("LOCALFILE"));
        QCOMPARE(browser->source(), start);
        QVERIFY(!browser->toPlainText().contains(QStringLiteral("SECRET")));
        click(QStringLiteral("UPWARDS"));
        QCOMPARE(browser->source(), start);
        QVERIFY(!browser->toPlainText().contains(QStringLiteral("SECRET")));
        QVERIFY(web.opened.isEmpty());
        click(QStringLiteral("WEBPAGE"));
        QCOMPARE(web.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.com/manual"))});
        QCOMPARE(browser->source(), start);
        // A page of the help file opens.
        click(QStringLiteral("CHANNELS"));
        QCOMPARE(help->source().fileName(), QStringLiteral("channels.html"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    // Every contents entry can be read whole without scrolling sideways: the pane fits the
    // entries or wraps them, in both languages.
    void contentsEntriesShowWhole() {
        for (const char* language : {"English", "Chinese"}) {
            prepare();
            QFile f(path(QStringLiteral("Program.ini")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(
                QByteArray(kIni).replace("Language=English", QByteArray("Language=") + language));
            f.close();
            QVERIFY(start());
            frame()->show();
            QVERIFY(QTest::qWaitForWindowExposed(frame()));
            QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::HelpTopics)),
                     QString());
            CHelpWindow* help = frame()->help()->window();
            QVERIFY(help);
            QVERIFY(QTest::qWaitForWindowExposed(help));
            QListWidget* list = help->contents();
            QTRY_VERIFY(list->isVisible());
            QVERIFY(!list->horizontalScrollBar()->isVisible());
            const int room = list->viewport()->width();
            for (int i = 0; i < list->count(); ++i) {
                QListWidgetItem* item = list->item(i);
                list->scrollToItem(item);
                const QRect r = list->visualItemRect(item);
                QVERIFY2(r.left() >= 0 && r.right() < room, qPrintable(item->text()));
                // All the text fits the item: as wide as it is, or wrapped onto more lines.
                const QRect needed = list->fontMetrics().boundingRect(
                    QRect(0, 0, r.width() - 6, 10000), Qt::TextWordWrap, item->text());
                QVERIFY2(needed.width() <= r.width() && needed.height() <= r.height(),
                         qPrintable(item->text()));
            }
            cleanup();
        }
    }

    void f1OnAnOptionalFeaturesFieldOpensItsPage() {
        prepare();
        QVERIFY(start());
        frame()->show();
        // The dialog as the main window runs it: modal, its F1 routed, its fields' ids set.
        QDialog dlg(frame());
        auto* tot = new QComboBox(&dlg);
        tot->addItems({QStringLiteral("Off"), QStringLiteral("30")});
        cps::setControlId(tot, 1125);
        auto* preAlert = new QComboBox(&dlg);
        cps::setControlId(preAlert, 1126);  // the channel grid's name editor elsewhere
        auto* layout = new QVBoxLayout(&dlg);
        layout->addWidget(tot);
        layout->addWidget(preAlert);
        cps::routeF1ToHelp(&dlg, 133);
        CHelpWindow* seenWith = nullptr;
        QUrl totPage, preAlertPage;
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dlg));
            tot->setFocus();
            QTest::keyClick(tot, Qt::Key_F1);
            seenWith = frame()->help()->window();
            if (!seenWith) return dlg.reject();
            totPage = seenWith->source();
            // Usable while the dialog is modal: it goes with the dialog.
            QCOMPARE(seenWith->parentWidget(), static_cast<QWidget*>(&dlg));
            // Back in the dialog (the help window took the focus), F1 on the next field.
            dlg.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dlg));
            preAlert->setFocus();
            QTest::keyClick(preAlert, Qt::Key_F1);
            preAlertPage = seenWith->source();
            dlg.reject();
        });
        dlg.exec();
        QVERIFY(seenWith);
        QCOMPARE(totPage.fileName(), QStringLiteral("optional.html"));
        QCOMPARE(totPage.fragment(), QStringLiteral("tot"));
        QCOMPARE(preAlertPage.fragment(), QStringLiteral("prealert"));
        // Back with the main window once the dialog has gone.
        QCOMPARE(frame()->help()->window()->parentWidget(), static_cast<QWidget*>(frame()));
        QVERIFY(frame()->help()->window()->isVisible());
    }

    void f1InThePortSettingDialogOpensItsPage() {
        prepare();
        QVERIFY(start());
        cps::CPortSettingDlg dlg(frame(), false, QStringLiteral("COM1"), {},
                                 [](const QString&) { return cps::OpenFailure::None; });
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto* com16 = dlg.findChild<QRadioButton*>(QStringLiteral("1022"));
        QVERIFY(com16);
        com16->setFocus();
        QTest::keyClick(com16, Qt::Key_F1);
        QVERIFY(frame()->help()->window());
        // 1022 is the channel grid's id too; in this dialog it is COM16.
        QCOMPARE(frame()->help()->window()->source().fileName(), QStringLiteral("comsetup.html"));
        QCOMPARE(frame()->help()->window()->source().fragment(), QStringLiteral("portsetting"));
    }

    void chineseHelpIsTheChineseFile() {
        prepare();
        QFile f(path(QStringLiteral("Program.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(kIni).replace("Language=English", "Language=Chinese"));
        f.close();
        QVERIFY(start());
        choose(cmd::HelpTopics);
        CHelpWindow* help = frame()->help()->window();
        QVERIFY(help);
        QCOMPARE(help->browser()->documentTitle(), QStringLiteral("目录"));
        QVERIFY(
            help->search(QStringLiteral("频段非法")).contains(QStringLiteral("readwrite.html")));
    }

    void missingHelpFileShowsNothingAndIsNotTriedAgain() {
        prepare(false);
        QVERIFY(start());
        choose(cmd::HelpTopics);
        cps::showHelp(0x8005);
        cps::showHelp(133);
        QVERIFY(!frame()->help()->window());
        QCOMPARE(frame()->help()->loadAttempts(), 1);
        // A file that appears later does not change that for this run.
        QVERIFY(QFile::copy(QStringLiteral(CPS_BIN_DIR "/enHelp.rcc"),
                            path(QStringLiteral("enHelp.rcc"))));
        cps::showHelp(0x8005);
        QVERIFY(!frame()->help()->window());
        QCOMPARE(frame()->help()->loadAttempts(), 1);
    }
};

QTEST_MAIN(HelpGuiTest)
#include "HelpGuiTest.moc"
