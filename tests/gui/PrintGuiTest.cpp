#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "CMainFrame.h"
#include "CPrintListDlg.h"
#include "CProgramView.h"
#include "ChannelTable.h"
#include "ProgramFolder.h"
#include "RadioImage.h"
#include "RealInput.h"
#include "ReportPrinting.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "Startup.h"
#include "WaitUntil.h"
#ifdef Q_OS_UNIX
#include "../support/FileFaults.h"
#endif

using cps::CPrintListDlg;
using cps::ReportPrinting;
namespace print = cps::print;

namespace {

// Acts on the next modal window of type T once it shows, as a user would.
template <typename T>
void whenShown(std::function<void(T*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(w);
        } else if (triesLeft > 0) {
            whenShown<T>(act, triesLeft - 1);
        }
    });
}

// The dialog's button that reads text, pressed by mouse where it is seen.
void press(QWidget* dialog, const char* text) {
    QCOMPARE(cps::test::clickSeen(cps::test::buttonReading(dialog, QString::fromUtf8(text))),
             QString());
}

}  // namespace

class PrintGuiTest : public QObject {
    Q_OBJECT

  private:
    cps::RadioImage image_ = cps::RadioImage::factory();
    cps::ChannelTable table_{false};
    cps::test::ScriptedPrompter prompter_;
    QPrinter printer_;
    QTemporaryDir dir_;

    print::Source source(bool chinese = false) {
        return {&image_, &table_, chinese, QStringLiteral("Owner")};
    }

  private slots:
    void init() { prompter_ = cps::test::ScriptedPrompter(); }

    void printListStartsFromTheDefaultsEveryTime() {
        CPrintListDlg dlg(false);
        QCOMPARE(dlg.objectName(), QStringLiteral("169"));
        const QStringList texts{"DTMF", "MSK", "Optional", "2-Tone", "Channel Info"};
        const int ids[] = {1045, 1246, 1247, 1248, 1249};
        for (int s = 0; s < print::kSectionCount; ++s) {
            QCOMPARE(dlg.box(s)->text(), texts[s]);
            QCOMPARE(dlg.box(s)->objectName(), QString::number(ids[s]));
        }
        QCOMPARE(dlg.selectAllButton()->objectName(), QStringLiteral("1279"));
        QCOMPARE(dlg.clearAllButton()->objectName(), QStringLiteral("1280"));

        // Select All, one box cleared by a click, OK: the choice is the boxes' states.
        whenShown<CPrintListDlg>([](CPrintListDlg* d) {
            QCOMPARE(cps::test::clickSeen(d->selectAllButton()), QString());
            QCOMPARE(cps::test::clickSeen(d->box(print::kMsk)), QString());
            QCOMPARE(cps::test::clickSeen(cps::test::buttonReading(d, QStringLiteral("OK"))),
                     QString());
        });
        print::Choice choice{};
        QVERIFY(dlg.choose(&choice));
        QCOMPARE(choice, (print::Choice{true, false, true, true, true}));

        // The next opening forgets it: Optional and Channel Info again.
        print::Choice seen{};
        whenShown<CPrintListDlg>([&seen](CPrintListDlg* d) {
            for (int s = 0; s < print::kSectionCount; ++s) seen[s] = d->box(s)->isChecked();
            QCOMPARE(cps::test::clickSeen(d->clearAllButton()), QString());
            press(d, "OK");
        });
        QVERIFY(dlg.choose(&choice));
        QCOMPARE(seen, print::defaultChoice());
        QCOMPARE(choice, print::Choice{});

        whenShown<CPrintListDlg>([](CPrintListDlg* d) { press(d, "Cancel"); });
        QVERIFY(!dlg.choose(&choice));

        CPrintListDlg zh(true);
        QCOMPARE(zh.box(print::kChannels)->text(), QStringLiteral("信道信息"));
        QCOMPARE(zh.selectAllButton()->text(), QStringLiteral("全选"));
        QCOMPARE(zh.clearAllButton()->text(), QStringLiteral("全清"));
        // The menu's word for 2-Tone, and the Chinese OK.
        QCOMPARE(zh.box(print::kTwoTone)->text(), QStringLiteral("两音"));
        QStringList buttons;
        for (QPushButton* b : zh.findChildren<QPushButton*>()) buttons << b->text();
        QVERIFY2(
            buttons.contains(QStringLiteral("确定")) && !buttons.contains(QStringLiteral("OK")),
            qPrintable(buttons.join(QLatin1Char(','))));
    }

    void cancelPrintsNothingAndShowsNoPrintDialog() {
        ReportPrinting p(source(), printer_, prompter_, "Caption", nullptr);
        // A print dialog that came up would be counted and closed.
        cps::test::ShowWatch printDialogs(cps::test::ShowWatch::isA<QPrintDialog>);
        whenShown<CPrintListDlg>([](CPrintListDlg* d) { press(d, "Cancel"); });
        QVERIFY(!p.print(ReportPrinting::Mode::Dialog));
        QVERIFY(cps::test::processPending());
        QCOMPARE(printDialogs.seen().size(), 0);
        QVERIFY(prompter_.texts.isEmpty());
    }

    void aChoiceWithoutPagesSaysSo() {
        // Only Channel Info, and no channel filled.
        ReportPrinting p(source(), printer_, prompter_, "Caption", nullptr);
        whenShown<CPrintListDlg>([](CPrintListDlg* d) {
            QCOMPARE(cps::test::clickSeen(d->clearAllButton()), QString());
            QCOMPARE(cps::test::clickSeen(d->box(print::kChannels)), QString());
            QCOMPARE(cps::test::clickSeen(cps::test::buttonReading(d, QStringLiteral("OK"))),
                     QString());
        });
        QVERIFY(!p.print(ReportPrinting::Mode::Direct));
        QCOMPARE(prompter_.texts, QStringList{"Nothing to print"});

        ReportPrinting zh(source(true), printer_, prompter_, "Caption", nullptr);
        whenShown<CPrintListDlg>([](CPrintListDlg* d) {
            QCOMPARE(cps::test::clickSeen(d->clearAllButton()), QString());
            press(d, "确定");
        });
        QVERIFY(!zh.exportPdf());
        QCOMPARE(prompter_.texts.last(), QStringLiteral("没有可打印的内容"));
        QVERIFY(prompter_.proposed.isEmpty());  // no file was asked for
    }

    void printDialogGetsThePageRange() {
        table_.setText(1, 1, "145.50000");
        ReportPrinting p(source(), printer_, prompter_, "Caption", nullptr);
        int maxPage = 0;
        whenShown<CPrintListDlg>([&](CPrintListDlg* d) {
            press(d, "OK");
            whenShown<QPrintDialog>([&](QPrintDialog* pd) {
                maxPage = pd->maxPage();
                pd->reject();
            });
        });
        QVERIFY(!p.print(ReportPrinting::Mode::Dialog));
        QCOMPARE(maxPage, 2);  // Optional and one channel page
        QCOMPARE(p.job().maxPage, 2);
        table_.setText(1, 1, {});
    }

    void previewShowsTheJob() {
        ReportPrinting p(source(), printer_, prompter_, "Caption", nullptr);
        bool shown = false;
        whenShown<CPrintListDlg>([&](CPrintListDlg* d) {
            QCOMPARE(cps::test::clickSeen(d->selectAllButton()), QString());
            press(d, "OK");
            whenShown<QPrintPreviewDialog>([&](QPrintPreviewDialog* pv) {
                shown = true;
                pv->reject();
            });
        });
        QVERIFY(p.print(ReportPrinting::Mode::Preview));
        QVERIFY(shown);
        QCOMPARE(p.job().maxPage, 5);  // no channel: DTMF, MSK, Optional, 2-Tone's two
    }

    void exportPdfWritesTheReport() {
        ReportPrinting p(source(), printer_, prompter_, "Caption", nullptr);
        prompter_.savePath = dir_.filePath("report.pdf");
        whenShown<CPrintListDlg>([](CPrintListDlg* d) { press(d, "OK"); });
        QVERIFY(p.exportPdf());
        QVERIFY(prompter_.filter.contains("*.pdf"));
        QFile f(prompter_.savePath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");

        // A file that cannot be written is reported.
        prompter_.savePath = dir_.filePath("no/such/dir/report.pdf");
        whenShown<CPrintListDlg>([](CPrintListDlg* d) { press(d, "OK"); });
        QVERIFY(!p.exportPdf());
        QVERIFY(prompter_.texts.last().contains("report.pdf"));

#ifdef Q_OS_UNIX
        // A disk that takes only part of the report: the earlier report stays, and the box
        // says why instead of the status bar saying "Ready".
        prompter_.savePath = dir_.filePath("report.pdf");
        const QByteArray before = [&] {
            QFile old(prompter_.savePath);
            return old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray();
        }();
        QVERIFY(before.size() > 4096);
        const int boxes = prompter_.texts.size();
        whenShown<CPrintListDlg>([](CPrintListDlg* d) {
            // OK, pressed with the mouse where it is seen.
            QPushButton* ok = nullptr;
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->text() == QLatin1String("OK")) ok = b;
            QVERIFY(ok && QTest::qWaitForWindowExposed(d));
            const QPoint at = ok->rect().center();
            QCOMPARE(QApplication::widgetAt(ok->mapToGlobal(at)), static_cast<QWidget*>(ok));
            QTest::mouseClick(ok, Qt::LeftButton, {}, at);
        });
        {
            const cps::test::FileSizeLimit full(4096);
            QVERIFY(!p.exportPdf());
        }
        QCOMPARE(prompter_.texts.size(), boxes + 1);
        QVERIFY2(prompter_.texts.last().contains(prompter_.savePath),
                 qPrintable(prompter_.texts.last()));
        QFile again(prompter_.savePath);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QVERIFY(again.readAll() == before);
#endif
    }

    void mainFrameCarriesThePrintCommands() {
        cps::test::ProgramFolder programDir(
            "[Setup]\nLanguage=English\nAppName=PrintTest\n\n[English]\nCompany=Radios\n"
            "Copyrights Owner=Test Owner\n");
        QCOMPARE(programDir.error(), QString());
        Startup::Options o = cps::test::startOptions(programDir, prompter_);
        o.showWindow = false;
        Startup startup(o);
        QVERIFY(startup.start());
        CMainFrame* frame = startup.mainFrame();
        QMenu* file = frame->menu(cmd::Menu::File);
        for (int id : {cmd::Print, cmd::PrintPreview, cmd::PrintSetup, cmd::ExportPdf}) {
            QVERIFY(file->actions().contains(frame->action(id)));
            QVERIFY(frame->action(id)->isEnabled());
        }
        QCOMPARE(frame->action(cmd::ExportPdf)->text(), QStringLiteral("Export PDF..."));
        QCOMPARE(frame->action(cmd::Print)->shortcut(), QKeySequence("Ctrl+P"));

        // Export PDF prints the grid of the active view.
        frame->activeView()->fillGridFromImage();
        prompter_.savePath = dir_.filePath("frame.pdf");
        whenShown<CPrintListDlg>([](CPrintListDlg* d) {
            QCOMPARE(cps::test::clickSeen(cps::test::buttonReading(d, QStringLiteral("OK"))),
                     QString());
        });
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        QCOMPARE(cps::test::chooseMenu(frame->menuBar(), frame->action(cmd::ExportPdf)), QString());
        QVERIFY(QFile::exists(prompter_.savePath));
        QCOMPARE(prompter_.proposed, QStringLiteral("Report.pdf"));
    }
};

QTEST_MAIN(PrintGuiTest)
#include "PrintGuiTest.moc"
