// The command registry and the editor launchers: menus and toolbar made from one table, the
// busy document's lock, the undo step an editor makes.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "COptionalFeaturesDlg.h"
#include "CPasswordDlg.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CSoftwareInfoDlg.h"
#include "CommandRegistry.h"
#include "FeatureFields.h"
#include "NavigationBar.h"
#include "Pick.h"
#include "Prompter.h"
#include "RealInput.h"
#include "Session.h"
#include "Startup.h"
#include "WaitUntil.h"

using cps::test::onModal;

namespace {

// Counts the questions; answers none.
class CountingPrompter : public Prompter {
  public:
    int asked = 0;
    QMessageBox::StandardButton message(QWidget*, const QString&, const QString&, Icon,
                                        QMessageBox::StandardButtons) override {
        ++asked;
        return QMessageBox::Cancel;
    }
    QString openFileName(QWidget*, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

// The dialog's OK, clicked where it is seen.
void clickOk(QDialog* d) {
    QAbstractButton* ok = cps::test::buttonReading(d, QStringLiteral("OK"));
    if (!ok) ok = cps::test::buttonReading(d, QString::fromUtf8("确定"));
    QVERIFY(ok);
    QCOMPARE(cps::test::clickSeen(ok), QString());
}

QStringList itemTexts(const QWidget* w) {
    QStringList out;
    for (QAction* a : w->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

}  // namespace

class CommandsGuiTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    CountingPrompter prompter_;
    std::unique_ptr<Startup> startup_;

    CMainFrame* frame() const { return startup_->mainFrame(); }

    void launch(const char* language) {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QFile f(dir_->filePath(QStringLiteral("Program.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[Setup]\nLanguage=") + language +
                "\nAppName=TestRadio\n\n[English]\nTitle=Test Title\nCompany=Test Company\n\n"
                "[Chinese]\nTitle=测试标题\nCompany=测试公司\n");
        f.close();
        for (const char* qm : {"English.qm", "Chinese.qm"})
            QVERIFY(QFile::copy(QStringLiteral(CPS_BIN_DIR "/") + QLatin1String(qm),
                                dir_->filePath(QLatin1String(qm))));
        qputenv("CPS_USER_STORE", dir_->filePath(QStringLiteral("user.ini")).toLocal8Bit());
        prompter_ = CountingPrompter();
        Startup::Options o;
        o.programDir = dir_->path() + QLatin1Char('/');
        o.prompter = &prompter_;
        o.splash = false;
        startup_ = std::make_unique<Startup>(o);
        QVERIFY(startup_->start());
        frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame()));
    }

  private slots:
    void init() {
        // A dialog left open by a failing check must not hang the run.
        QTimer::singleShot(20000, [] {
            while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
        });
    }
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    // Groups become separators in the menus and on the toolbar; a key the item's text shows
    // already works beside the item; a further rule and the busy state enable together.
    void registryBuildsMenusToolbarAndRules() {
        QMainWindow window;
        bool busy = false;
        bool allowed = true;
        int ran = 0;
        CommandRegistry registry(window, false, [&busy] { return busy; });
        std::vector<Command> table;
        table.push_back(
            Command(1, "One", "First\nOne tip").menu(cmd::Menu::File).toolbar(21).run([&ran] {
                ran += 1;
            }));
        table.push_back(Command(2, "Two    Ctrl+T", "Second")
                            .keys("Ctrl+T", true)
                            .menu(cmd::Menu::File, true)
                            .toolbar(11)
                            .run([&ran] { ran += 10; }));
        table.push_back(
            Command(3, "Three", "Third").menu(cmd::Menu::Help).safeWhileBusy().when([&allowed] {
                return allowed;
            }));
        table.push_back(Command(4, "Four", "Fourth").menu(cmd::Menu::File).toolbar(22));
        registry.build(std::move(table));

        QCOMPARE(itemTexts(registry.menu(cmd::Menu::File)),
                 QStringList({"One", "-", "Two    Ctrl+T", "Four"}));
        QCOMPARE(registry.separatorBefore(2), registry.menu(cmd::Menu::File)->actions().at(1));
        QCOMPARE(itemTexts(registry.toolBar()), QStringList({"Two    Ctrl+T", "-", "One", "Four"}));
        QCOMPARE(registry.action(1)->statusTip(), QStringLiteral("First"));
        QCOMPARE(registry.action(1)->toolTip(), QStringLiteral("One tip"));
        QVERIFY(registry.action(2)->shortcut().isEmpty());
        QCOMPARE(window.menuBar()->actions().size(), 6);

        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        cps::test::pressKey(Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(ran, 10);
        QCOMPARE(cps::test::clickSeen(registry.toolBar()->widgetForAction(registry.action(1))),
                 QString());
        QCOMPARE(ran, 11);

        busy = true;
        allowed = false;
        registry.refresh();
        QVERIFY(!registry.action(1)->isEnabled());
        QVERIFY(!registry.action(3)->isEnabled());
        cps::test::pressKey(Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(ran, 11);
        allowed = true;
        registry.refresh();
        QVERIFY(registry.action(3)->isEnabled());
        busy = false;
        registry.refresh();
        QVERIFY(registry.action(1)->isEnabled() && registry.action(2)->isEnabled());
    }

    // While a transfer holds the document nothing that changes it runs, by mouse, key or the
    // navigation tree; what only shows things still does. All of it comes back afterwards.
    void busyDocumentLocksItsCommands() {
        launch("English");
        CommandRegistry& commands = frame()->commands();
        CProgramDoc* doc = frame()->activeDocument();
        // What Program > Read's Start does to the document while the radio talks.
        doc->setBusy(true);
        QStringList wrong;
        for (int id : commands.ids())
            if (frame()->action(id)->isEnabled() != commands.safeWhileBusy(id))
                wrong << frame()->action(id)->objectName();
        QCOMPARE(wrong, QStringList());
        for (int id : {cmd::FileNew, cmd::FileOpen, cmd::Read, cmd::Write, cmd::ImportChannels,
                       cmd::ProgramFleet, cmd::EditPaste, cmd::Dtmf, cmd::Language,
                       cmd::VerifyAfterWrite, cmd::RecentFile1})
            QVERIFY2(!commands.safeWhileBusy(id), qPrintable(QString::number(id, 16)));
        for (int id : {cmd::EditCopy, cmd::ChannelInfo, cmd::HelpTopics, cmd::ViewToolbar})
            QVERIFY2(commands.safeWhileBusy(id), qPrintable(QString::number(id, 16)));

        // By mouse and key: no dialog, no question.
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::Dtmf)), QString());
        QVERIFY(!QApplication::activeModalWidget());
        cps::test::pressKey(Qt::Key_N, Qt::ControlModifier);
        QToolBar* toolBar = commands.toolBar();
        QWidget* newButton = toolBar->widgetForAction(frame()->action(cmd::FileNew));
        QVERIFY(!newButton->isEnabled());
        QCOMPARE(prompter_.asked, 0);
        QVERIFY(!frame()->navigationBar()->tree()->isEnabled());

        doc->setBusy(false);
        for (int id : commands.ids()) {
            // Hidden items (the recent files' while the list is empty) are off anyway.
            QAction* a = frame()->action(id);
            if (id != cmd::EditUndo && id != cmd::EditRedo && a->isVisible())
                QVERIFY2(a->isEnabled(), qPrintable(QString::number(id, 16)));
        }
        QVERIFY(frame()->navigationBar()->tree()->isEnabled());
        QCOMPARE(cps::test::clickSeen(newButton), QString());
        QCOMPARE(prompter_.asked, 1);
    }

    // The session tells its changes: a transfer holding the document, OK in Software Info
    // (the image no longer the one New made), the service access code.
    void sessionSignalsItsChanges() {
        launch("English");
        Session& session = frame()->session();
        QSignalSpy busy(&session, &Session::busyChanged);
        QSignalSpy fromNew(&session, &Session::imageFromNewChanged);
        QSignalSpy unlocked(&session, &Session::serviceUnlockedChanged);
        QVERIFY(session.imageFromNew());

        frame()->activeDocument()->setBusy(true);
        QVERIFY(session.busy());
        frame()->activeDocument()->setBusy(false);
        QCOMPARE(busy.count(), 2);
        QCOMPARE(busy.at(0).at(0).toBool(), true);

        onModal<cps::CSoftwareInfoDlg>([](cps::CSoftwareInfoDlg* d) { clickOk(d); });
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::SoftwareInfo)),
                 QString());
        QTRY_COMPARE(fromNew.count(), 1);
        QVERIFY(!session.imageFromNew());

        onModal<cps::CPasswordDlg>([](cps::CPasswordDlg* d) {
            QTest::keyClicks(d->edit(), QStringLiteral("527KTM"));
            clickOk(d);
        });
        CMSFlexGrid* grid = frame()->activeView()->grid();
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F11, Qt::ControlModifier);
        QTRY_COMPARE(unlocked.count(), 1);
        QVERIFY(session.serviceUnlocked());
        QVERIFY(frame()->menuBarHas(cmd::SqlTuning));
    }

    // An editor's changes are one undo step, named after the table the editor works on.
    void editorStepIsNamedAfterItsTable_data() {
        QTest::addColumn<QByteArray>("language");
        QTest::newRow("English") << QByteArray("English");
        QTest::newRow("Chinese") << QByteArray("Chinese");
    }
    void editorStepIsNamedAfterItsTable() {
        QFETCH(QByteArray, language);
        launch(language.constData());
        const bool chinese = language == "Chinese";
        onModal<COptionalFeaturesDlg>([](COptionalFeaturesDlg* d) {
            QComboBox* tot = d->list("TOT (s)");
            tot->setFocus();
            QTest::keyClick(tot, Qt::Key_Down);
            clickOk(d);
        });
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::OptionalFeatures)),
                 QString());
        QTRY_VERIFY(!QApplication::activeModalWidget());
        const QString step = cps::optionalFields().title.get(chinese);
        QCOMPARE(frame()->action(cmd::EditUndo)->text(),
                 cps::pick(chinese, "&Undo ", "撤销(&U) ") + step + QStringLiteral("\tCtrl+Z"));
        QVERIFY(frame()->action(cmd::EditUndo)->isEnabled());
    }
};

QTEST_MAIN(CommandsGuiTest)
#include "CommandsGuiTest.moc"
