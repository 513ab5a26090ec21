// Program > Program Fleet... driven by mouse and keys against simulated radios.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "CChildFrame.h"
#include "CFleetDlg.h"
#include "CMainFrame.h"
#include "DataFile.h"
#include "FleetCommand.h"
#include "ProgramFolder.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Session.h"
#include "Settings.h"
#include "Startup.h"
#include "UserStore.h"
#ifdef RADIOSIM_PATH
#include "SimHarness.h"
#endif

namespace {

// A click where the user sees the widget: whatever is on screen there must be it.
bool clickAt(QWidget* widget, QPoint local) {
    const QString why = cps::test::clickSeen(widget, local);
    if (!why.isEmpty()) qWarning() << why;
    return why.isEmpty();
}
bool clickOn(QWidget* widget) { return clickAt(widget, widget->rect().center()); }

bool clickCell(QTableWidget* table, int row, int col, Qt::KeyboardModifiers mods = {}) {
    const QRect rect = table->visualRect(table->model()->index(row, col));
    const QPoint global = table->viewport()->mapToGlobal(rect.center());
    if (QApplication::widgetAt(global) != table->viewport()) return false;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, mods, rect.center());
    return true;
}

}  // namespace

class FleetGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

  private:
    bool launch(const char* language) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            cps::test::programIni(QString::fromLatin1(language)));
        if (!dir_->error().isEmpty()) return false;
        prompter_ = cps::test::ScriptedPrompter();
        prompter_.otherwise = cps::test::ScriptedPrompter::yesToQuestions();
        startup_ = std::make_unique<Startup>(cps::test::startOptions(*dir_, prompter_));
        return startup_->start() && cps::test::showActive(frame());
    }

    // Program > Program Fleet... with the mouse: the menu bar's title, then the item.
    CFleetDlg* openFleetWindow() {
        QMenu* program = frame()->menu(cmd::Menu::Program);
        QMenuBar* bar = frame()->menuBar();
        if (!clickAt(bar, bar->actionGeometry(program->menuAction()).center())) return nullptr;
        if (!QTest::qWaitForWindowExposed(program)) return nullptr;
        QAction* item = frame()->action(cmd::ProgramFleet);
        if (!clickAt(program, program->actionGeometry(item).center())) return nullptr;
        auto* dlg = frame()->findChild<CFleetDlg*>();
        if (dlg && !QTest::qWaitForWindowActive(dlg)) return nullptr;
        return dlg;
    }

  private slots:
    void cleanup() { startup_.reset(); }

    void menuAndWindowInBothLanguages() {
        QVERIFY(launch("English"));
        const QList<QAction*> items = frame()->menu(cmd::Menu::Program)->actions();
        QCOMPARE(items.indexOf(frame()->action(cmd::ProgramFleet)),
                 items.indexOf(frame()->action(cmd::Write)) + 1);
        QCOMPARE(frame()->action(cmd::ProgramFleet)->text(), QStringLiteral("Program Fleet..."));
        CFleetDlg* dlg = openFleetWindow();
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Program Fleet"));
        QCOMPARE(dlg->findChild<QPushButton*>("fillDown")->text(), QStringLiteral("Fill Down"));
        startup_.reset();

        QVERIFY(launch("Chinese"));
        QCOMPARE(frame()->action(cmd::ProgramFleet)->text(), QString::fromUtf8("批量写频..."));
        dlg = openFleetWindow();
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), QString::fromUtf8("批量写频"));
        QCOMPARE(dlg->findChild<QPushButton*>("start")->text(), QString::fromUtf8("开始"));
    }

#ifdef RADIOSIM_PATH
    void fillDownThenStartWritesEveryRadio() {
        QVERIFY(launch("English"));
        // The document needs a file: the log is kept beside it.
        prompter_.savePath = path("fleet.dat");
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY2(QFile::exists(path("fleet.dat")), qPrintable(prompter_.texts.join('|')));

        QDir(dir_->path()).mkpath("a");
        QDir(dir_->path()).mkpath("b");
        cps::e2e::Sim a({}, dir_->filePath("a"));
        cps::e2e::Sim b({}, dir_->filePath("b"));
        QVERIFY(!a.device().isEmpty() && !b.device().isEmpty());
        {
            cps::UserStore store = cps::UserStore::atFile(path("user.ini"));
            store.setText(QStringLiteral("Ports/COM4"), a.device());
            store.setText(QStringLiteral("Ports/COM5"), b.device());
        }
        frame()->session().setPortName(QStringLiteral("COM4"));

        QFile job(path("job.csv"));
        QVERIFY(job.open(QIODevice::WriteOnly));
        job.write(
            "Label,msk:ID Code,dtmf:Local ID\r\nCar 1,00A9,101\r\nCar 2,,102\r\nCar 3,,103\r\n");
        job.close();

        CFleetDlg* dlg = openFleetWindow();
        QVERIFY(dlg);
        prompter_.openPath = path("job.csv");
        QVERIFY(clickOn(dlg->findChild<QPushButton*>("importJob")));
        QTableWidget* table = dlg->table();
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->columnCount(), 6);

        // The ID column: its first cell, shift-click the last, Fill Down.
        const int id = dlg->fieldColumn(0);
        QVERIFY(clickCell(table, 0, id));
        QVERIFY(clickCell(table, 2, id, Qt::ShiftModifier));
        QVERIFY(clickOn(dlg->findChild<QPushButton*>("fillDown")));
        QCOMPARE(table->item(1, id)->text(), QStringLiteral("00AA"));
        QCOMPARE(table->item(2, id)->text(), QStringLiteral("00AB"));

        // A typed label: the cell, then keys to the editor that opens.
        QVERIFY(clickCell(table, 2, 0));
        QCOMPARE(QApplication::focusWidget(), table);
        QTest::keyClick(table, 'S');
        QVERIFY(QApplication::focusWidget() != table);  // the cell's editor
        QTest::keyClicks(QApplication::focusWidget(), "pare");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(table->item(2, 0)->text(), QStringLiteral("Spare"));

        // A second port: its item, then Space, as a keyboard user checks it.
        QListWidget* ports = dlg->findChild<QListWidget*>("ports");
        QListWidgetItem* com5 = ports->item(4);
        QCOMPARE(com5->text(), QStringLiteral("COM5"));
        QVERIFY(clickAt(ports->viewport(), ports->visualItemRect(com5).center()));
        QTest::keyClick(ports, Qt::Key_Space);
        QCOMPARE(com5->checkState(), Qt::Checked);
        QCOMPARE(ports->item(3)->checkState(), Qt::Checked);

        QVERIFY(clickOn(dlg->findChild<QPushButton*>("start")));
        QVERIFY(dlg->running());
        QVERIFY(frame()->activeFrame()->transferRunning());
        QVERIFY(!frame()->action(cmd::FileOpen)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->running(), 60000);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(table->item(r, dlg->stateColumn())->text(), QStringLiteral("Done"));
        QVERIFY(!frame()->activeFrame()->transferRunning());
        QVERIFY(frame()->action(cmd::FileOpen)->isEnabled());
        // Each radio waited for the user's OK.
        QCOMPARE(prompter_.texts.filter("Connect radio").size(), 3);
        QVERIFY(prompter_.texts.contains(
                    "Connect radio 3 of 3 (Spare) to COM4 and press OK; Cancel stops the fleet.") ||
                prompter_.texts.contains(
                    "Connect radio 3 of 3 (Spare) to COM5 and press OK; Cancel stops the fleet."));

        QFile log(path("fleet-fleet-log.csv"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(log.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.filter(",done,").size(), 3);
        QVERIFY(lines.filter(QRegularExpression("^4,Spare,COM[45],")).size() == 1);

        // Start again: every radio is done already, nothing is sent.
        const int seenA = a.log().size();
        const int seenB = b.log().size();
        QVERIFY(clickOn(dlg->findChild<QPushButton*>("start")));
        QTRY_VERIFY(!dlg->running());
        QCOMPARE(table->item(0, dlg->stateColumn())->text(), QStringLiteral("Done before"));
        QCOMPARE(a.log().size(), seenA);
        QCOMPARE(b.log().size(), seenB);
    }
#endif
};

QTEST_MAIN(FleetGuiTest)
#include "FleetGuiTest.moc"
