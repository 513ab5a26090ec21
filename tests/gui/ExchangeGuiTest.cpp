// File > Import Channels / Export Channels and Program > Compare with Radio, in-process on
// the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramView.h"
#include "ChannelCodec.h"
#include "DataFile.h"
#include "ExchangeCommands.h"
#include "ProgramFolder.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Session.h"
#include "Settings.h"
#include "Startup.h"
#include "UserStore.h"
#ifdef RADIOSIM_PATH
#include <QPushButton>

#include "ProcessDlg.h"
#include "SimHarness.h"
#endif

namespace {

QStringList menuTexts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) out << a->text();
    return out;
}

}  // namespace

class ExchangeGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

  private:
    bool launch(const char* language) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            cps::test::programIni(QString::fromLatin1(language)));
        if (!dir_->error().isEmpty()) return false;
        prompter_ = cps::test::ScriptedPrompter();
        startup_ = std::make_unique<Startup>(cps::test::startOptions(*dir_, prompter_));
        return startup_->start();
    }
    CMSFlexGrid* grid() const { return frame()->activeView()->grid(); }
    // The command chosen from its menu by mouse, as the user does.
    QString choose(QAction* action) {
        frame()->show();
        frame()->activateWindow();
        if (!QTest::qWaitForWindowExposed(frame())) return QStringLiteral("window not shown");
        return cps::test::chooseMenu(frame()->menuBar(), action);
    }
    void write(const char* name, const QByteArray& bytes) {
        QVERIFY(dir_->write(QString::fromLatin1(name), bytes));
    }

  private slots:
    void cleanup() { startup_.reset(); }

    void menusInBothLanguages() {
        QVERIFY(launch("English"));
        QStringList file = menuTexts(frame()->menu(cmd::Menu::File));
        QCOMPARE(file.mid(file.indexOf("Save &As...") + 1, 2),
                 (QStringList{"Import Channels...", "Export Channels..."}));
        QCOMPARE(menuTexts(frame()->menu(cmd::Menu::Program)).last(),
                 QStringLiteral("Compare with Radio"));
        QCOMPARE(frame()->action(cmd::CompareWithRadio)->data().toInt(), 0x8042);
        startup_.reset();

        QVERIFY(launch("Chinese"));
        file = menuTexts(frame()->menu(cmd::Menu::File));
        QVERIFY(file.contains(QString::fromUtf8("导入信道...")));
        QVERIFY(file.contains(QString::fromUtf8("导出信道...")));
        QCOMPARE(menuTexts(frame()->menu(cmd::Menu::Program)).last(),
                 QString::fromUtf8("与对讲机比较"));
    }

    void importThenExportChannels() {
        QVERIFY(launch("English"));
        write("in.csv", "Location,Name,Frequency,Duplex,Offset\r\n2,HOME,145.5,-,0.6\r\n");
        prompter_.openPath = path("in.csv");
        QCOMPARE(choose(frame()->action(cmd::ImportChannels)), QString());
        QCOMPARE(prompter_.texts, QStringList());
        QCOMPARE(grid()->textMatrix(2, 1), QStringLiteral("145.50000"));
        QCOMPARE(grid()->textMatrix(2, 2), QStringLiteral("144.90000"));
        QCOMPARE(grid()->textMatrix(2, 5), QStringLiteral("HOME"));

        // A name the radio cannot hold: refused, or fitted when the user says so.
        write("long.csv", "Location,Name,Frequency\r\n3,LONGNAMES,146\r\n");
        prompter_.openPath = path("long.csv");
        prompter_.answers = {QMessageBox::No};
        QCOMPARE(choose(frame()->action(cmd::ImportChannels)), QString());
        QVERIFY(prompter_.texts.last().startsWith("line 2, Name 'LONGNAMES'"));
        QCOMPARE(grid()->textMatrix(2, 5), QStringLiteral("HOME"));
        prompter_.answers = {QMessageBox::Yes};
        QCOMPARE(choose(frame()->action(cmd::ImportChannels)), QString());
        QVERIFY(prompter_.texts.last().contains("cut to 'LONGNAME'"));
        QCOMPARE(grid()->textMatrix(3, 5), QStringLiteral("LONGNAME"));
        QVERIFY(grid()->textMatrix(2, 1).isEmpty());

        prompter_.savePath = path("out.csv");
        QCOMPARE(choose(frame()->action(cmd::ExportChannels)), QString());
        QFile out(path("out.csv"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.readAll().contains("\r\n3,LONGNAME,146.000000,,0.000000,"));
    }

#ifdef RADIOSIM_PATH
    // Against the simulated radio: the list of differences, and the document as it was.
    void compareWithRadioLeavesTheDocument() {
        QVERIFY(launch("English"));
        cps::RadioImage radio = frame()->activeView()->documentImage();
        cps::ChannelRow row;
        row[cps::kColRx] = row[cps::kColTx] = QStringLiteral("145.50000");
        row[cps::kColName] = QStringLiteral("SIM");
        cps::encodeChannel(row, radio.data() + cps::recordOffset(3), cps::unpackBands(radio));
        QVERIFY(cps::saveDataFile(path("radio.dat"), radio));
        cps::e2e::Sim sim({QStringLiteral("--image"), path("radio.dat")}, dir_->path());
        QVERIFY(!sim.device().isEmpty());
        frame()->session().setPortName(QStringLiteral("COM4"));
        {
            cps::UserStore store = cps::UserStore::atFile(path("user.ini"));
            store.setText(QStringLiteral("Ports/COM4"), sim.device());
        }
        const cps::RadioImage before = frame()->activeView()->documentImage();

        QStringList lines;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            if (auto* list = modal->findChild<QListWidget*>(QStringLiteral("differences")))
                for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
            if (auto* box = qobject_cast<QDialog*>(modal)) box->reject();
        });
        closer.start(20);
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::CompareWithRadio)),
                 QString());
        auto* process = frame()->activeView()->findChild<cps::CProcessDlg*>();
        QVERIFY(process);
        QCOMPARE(cps::test::clickSeen(process->startButton()), QString());
        QTRY_VERIFY(!lines.isEmpty());
        QVERIFY(lines.contains("Channel 3, Rx Frequency: \"\" -> \"145.50000\""));
        QVERIFY(lines.contains("Channel 3, Chnnel Name: \"\" -> \"SIM\""));
        QVERIFY(grid()->textMatrix(3, 1).isEmpty());
        QVERIFY(frame()->activeView()->documentImage() == before);
    }
#endif
};

QTEST_MAIN(ExchangeGuiTest)
#include "ExchangeGuiTest.moc"
