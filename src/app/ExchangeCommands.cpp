#include "ExchangeCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "AppContext.h"
#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "Exchange.h"
#include "Pick.h"
#include "ProcessDlg.h"
#include "Prompter.h"
#include "RadioUi.h"
#include "SafeFile.h"

namespace cps {

// The channel window's radio commands, but reading into a scratch image: the link and its
// Process window as for Program > Read, while the document and its grid stay as they are.
class ScratchReadHost : public RadioViewHost {
  public:
    ScratchReadHost(CChildFrame* frame, std::function<void(const RadioImage&)> done)
        : frame_(frame), done_(std::move(done)) {
        scratch_ = frame->documentImage();
    }
    QWidget* hostWidget() override { return frame_->hostWidget(); }
    RadioImage& documentImage() override { return scratch_; }
    RadioContext radioContext() override { return frame_->radioContext(); }
    Bands bandsInUse() override { return frame_->bandsInUse(); }
    void commitPendingEdit() override { frame_->commitPendingEdit(); }
    void storeGridIntoImage() override {}
    void imageReadFromRadio() override { done_(scratch_); }
    // The document's commands stay off while the port is busy, as for Read.
    void transferStarted(bool) override {
        if (frame_) frame_->setTransferRunning(true);
    }
    void transferEnded(bool, bool) override {
        if (frame_) frame_->setTransferRunning(false);
    }
    CChildFrame* frame() const { return frame_; }

  private:
    QPointer<CChildFrame> frame_;
    std::function<void(const RadioImage&)> done_;
    RadioImage scratch_;
};

}  // namespace cps

namespace {

// The list of differences, as `cps diff` prints it.
class CCompareDlg : public QDialog {
  public:
    CCompareDlg(const QStringList& lines, bool chinese, QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("compareDialog"));
        setWindowTitle(cps::pick(chinese, "Compare with Radio", "与对讲机比较"));
        auto* layout = new QVBoxLayout(this);
        auto* summary = new QLabel(this);
        summary->setObjectName(QStringLiteral("summary"));
        summary->setText(lines.isEmpty()
                             ? cps::pick(chinese, "The radio holds the same data as the document.",
                                         "对讲机中的数据与当前文件相同。")
                             : cps::pick(chinese,
                                         "The radio differs from the document in %1 places "
                                         "(document -> radio):",
                                         "对讲机与当前文件有 %1 处不同（文件 -> 对讲机）：")
                                   .arg(lines.size()));
        layout->addWidget(summary);
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("differences"));
        list->addItems(lines);
        list->setVisible(!lines.isEmpty());
        layout->addWidget(list);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
        buttons->button(QDialogButtonBox::Close)->setText(cps::pick(chinese, "Close", "关闭"));
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
        resize(lines.isEmpty() ? 360 : 640, lines.isEmpty() ? 120 : 420);
    }
};

}  // namespace

ExchangeCommands::ExchangeCommands(CMainFrame& frame, cps::AppContext& context, Prompter& prompter)
    : QObject(&frame), frame_(frame), context_(context), prompter_(prompter) {
    QAction* import = makeAction(
        cmd::ImportChannels, QT_TRANSLATE_NOOP("CMainFrame", "Import Channels..."),
        QT_TRANSLATE_NOOP("CMainFrame",
                          "Replace the channels with a CSV channel list\nImport Channels"));
    QAction* exportCsv =
        makeAction(cmd::ExportChannels, QT_TRANSLATE_NOOP("CMainFrame", "Export Channels..."),
                   QT_TRANSLATE_NOOP("CMainFrame",
                                     "Save the channels as a CSV channel list\nExport Channels"));
    QAction* compare = makeAction(
        cmd::CompareWithRadio, QT_TRANSLATE_NOOP("CMainFrame", "Compare with Radio"),
        QT_TRANSLATE_NOOP("CMainFrame",
                          "Read the radio and list how it differs from the document\nCompare"));
    connect(import, &QAction::triggered, this, &ExchangeCommands::importChannels);
    connect(exportCsv, &QAction::triggered, this, &ExchangeCommands::exportChannels);
    connect(compare, &QAction::triggered, this, &ExchangeCommands::compareWithRadio);

    // File: after Save As, in their own group. Program: after Write.
    if (QMenu* file = frame.topMenu(0)) {
        QAction* before = frame.action(cmd::FileSaveAs);
        const QList<QAction*> items = file->actions();
        const int at = items.indexOf(before);
        QAction* next = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
        file->insertSeparator(next);
        file->insertAction(next, import);
        file->insertAction(next, exportCsv);
    }
    if (QMenu* program = frame.topMenu(2)) {
        program->addSeparator();
        program->addAction(compare);
    }
}

ExchangeCommands::~ExchangeCommands() = default;

QAction* ExchangeCommands::makeAction(int id, const char* text, const char* prompt) {
    const QStringList tips =
        QCoreApplication::translate("CMainFrame", prompt).split(QLatin1Char('\n'));
    auto* a = new QAction(QCoreApplication::translate("CMainFrame", text), &frame_);
    a->setData(id);
    a->setObjectName(QStringLiteral("cmd_%1").arg(id, 4, 16, QLatin1Char('0')));
    a->setStatusTip(tips.value(0));
    a->setToolTip(tips.value(1, tips.value(0)));
    frame_.addCommand(id, a);
    return a;
}

QString ExchangeCommands::caption() const { return context_.appName; }

bool ExchangeCommands::documentWithGrid(CMainFrame& frame, cps::RadioImage* image) {
    CProgramView* view = frame.activeView();
    CProgramDoc* doc = frame.activeDocument();
    if (!view || !doc) return false;
    view->commitPendingEdit();
    *image = doc->image();
    view->table().store(*image);
    return true;
}

void ExchangeCommands::exportChannels() {
    cps::RadioImage image;
    if (!documentWithGrid(frame_, &image)) return;
    const QString filter = context_.text("Channel List (*.csv)", "信道列表 (*.csv)");
    const QString path = prompter_.saveFileName(&frame_, QStringLiteral("channels.csv"), filter);
    if (path.isEmpty()) return;
    QString error;
    if (!cps::replaceFile(path, cps::exchange::exportCsv(image), &error))
        prompter_.message(&frame_, caption(),
                          context_.text("Failed to save the channel list.", "无法保存信道列表。") +
                              QLatin1Char('\n') + error,
                          Prompter::Icon::Exclamation, QMessageBox::Ok);
}

void ExchangeCommands::importChannels() {
    cps::RadioImage base;
    if (!documentWithGrid(frame_, &base)) return;
    CChildFrame* frame = frame_.activeFrame();
    const QString filter = context_.text("Channel List (*.csv)", "信道列表 (*.csv)");
    const QString path = prompter_.openFileName(&frame_, filter);
    if (path.isEmpty()) return;

    QFile file;
    QString error;
    QByteArray bytes;
    if (cps::openRegularFile(file, path, &error, context_.chinese)) {
        bytes = file.read(cps::kMaxInputFile + 1);
        if (bytes.size() > cps::kMaxInputFile)
            error = path + context_.text(": larger than 1 MiB", "：大于 1 MiB");
    }
    if (!error.isEmpty()) {
        prompter_.message(&frame_, caption(),
                          context_.text("Failed to open the channel list.", "无法打开信道列表。") +
                              QLatin1Char('\n') + error,
                          Prompter::Icon::Exclamation, QMessageBox::Ok);
        return;
    }
    cps::exchange::CsvOptions options;
    options.chinese = context_.chinese;
    cps::exchange::ImportResult r = cps::exchange::importCsv(bytes, base, options);
    if (!r.ok && r.fittable) {
        // What only the radio cannot hold can be fitted, if the user wants it.
        const auto answer = prompter_.message(
            &frame_, caption(),
            r.error + QStringLiteral("\n\n") +
                context_.text("Fit what the radio cannot hold (cut long names, take the nearest "
                              "tone, leave out other such rows)?",
                              "是否调整对讲机无法保存的内容（截短过长的名字、取最接近的亚音频、"
                              "略过其他此类行）？"),
            Prompter::Icon::Question, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) return;
        options.lenient = true;
        r = cps::exchange::importCsv(bytes, base, options);
    }
    if (!r.ok) {
        prompter_.message(&frame_, caption(),
                          context_.text("The channel list was not imported:", "信道列表未导入：") +
                              QLatin1Char('\n') + r.error,
                          Prompter::Icon::Exclamation, QMessageBox::Ok);
        return;
    }
    if (frame != frame_.activeFrame() || !frame) return;
    frame->documentImage() = r.image;
    frame->fillGridFromImage();
    if (CProgramDoc* doc = frame_.activeDocument())
        doc->recordChange(context_.text("Import Channels", "导入信道"));
    if (!r.notes.isEmpty())
        prompter_.message(&frame_, caption(),
                          context_.text("Imported with these changes:", "已导入，有以下改动：") +
                              QLatin1Char('\n') + r.notes.join(QLatin1Char('\n')),
                          Prompter::Icon::Information, QMessageBox::Ok);
}

void ExchangeCommands::compareWithRadio() {
    CChildFrame* frame = frame_.activeFrame();
    if (!frame) return;
    // One Process window per channel window, as for Read and Write; the open one may still
    // be working for the host it was given.
    if (frame->hostWidget()->findChild<cps::CProcessDlg*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    scratch_ = std::make_unique<cps::ScratchReadHost>(frame, [this](const cps::RadioImage& radio) {
        // After the transfer has finished with its window.
        const cps::RadioImage copy = radio;
        QTimer::singleShot(0, this, [this, copy] {
            cps::RadioImage document;
            if (documentWithGrid(frame_, &document)) showComparison(document, copy);
        });
    });
    cps::radioui::read(*scratch_);
}

void ExchangeCommands::showComparison(const cps::RadioImage& document,
                                      const cps::RadioImage& radio) {
    const bool chinese = context_.chinese;
    const cps::exchange::Comparison c = cps::exchange::compare(document, radio, chinese);
    CCompareDlg dlg(cps::exchange::describe(c, document, radio, chinese), chinese, &frame_);
    dlg.exec();
}
