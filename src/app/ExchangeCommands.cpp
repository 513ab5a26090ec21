#include "ExchangeCommands.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "CChildFrame.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "Exchange.h"
#include "Pick.h"
#include "Prompter.h"
#include "RadioUi.h"
#include "SafeFile.h"
#include "Settings.h"
#include "Workspace.h"

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
        if (frame_) frame_->document()->setBusy(true);
    }
    void transferEnded(bool, bool) override {
        if (frame_) frame_->document()->setBusy(false);
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

ExchangeCommands::ExchangeCommands(Workspace& workspace, const cps::Settings& settings,
                                   Prompter& prompter, QObject* parent)
    : QObject(parent), workspace_(workspace), settings_(settings), prompter_(prompter) {}

ExchangeCommands::~ExchangeCommands() = default;

QString ExchangeCommands::caption() const { return settings_.appName; }

void ExchangeCommands::exportChannels() {
    cps::RadioImage image;
    if (!workspace_.documentWithGrid(&image)) return;
    const QString filter = settings_.text("Channel List (*.csv)", "信道列表 (*.csv)");
    const QString path =
        prompter_.saveFileName(workspace_.dialogParent(), QStringLiteral("channels.csv"), filter);
    if (path.isEmpty()) return;
    QString error;
    if (!cps::replaceFile(path, cps::exchange::exportCsv(image), &error))
        prompter_.message(workspace_.dialogParent(), caption(),
                          settings_.text("Failed to save the channel list.", "无法保存信道列表。") +
                              QLatin1Char('\n') + error,
                          Prompter::Icon::Exclamation, QMessageBox::Ok);
}

void ExchangeCommands::importChannels() {
    cps::RadioImage base;
    if (!workspace_.documentWithGrid(&base)) return;
    CChildFrame* frame = workspace_.activeFrame();
    const QString filter = settings_.text("Channel List (*.csv)", "信道列表 (*.csv)");
    const QString path = prompter_.openFileName(workspace_.dialogParent(), filter);
    if (path.isEmpty()) return;

    QFile file;
    QString error;
    QByteArray bytes;
    if (cps::openRegularFile(file, path, &error, settings_.chinese)) {
        bytes = file.read(cps::kMaxInputFile + 1);
        if (bytes.size() > cps::kMaxInputFile)
            error = path + settings_.text(": larger than 1 MiB", "：大于 1 MiB");
    }
    if (!error.isEmpty()) {
        prompter_.message(workspace_.dialogParent(), caption(),
                          settings_.text("Failed to open the channel list.", "无法打开信道列表。") +
                              QLatin1Char('\n') + error,
                          Prompter::Icon::Exclamation, QMessageBox::Ok);
        return;
    }
    cps::exchange::CsvOptions options;
    options.chinese = settings_.chinese;
    cps::exchange::ImportResult r = cps::exchange::importCsv(bytes, base, options);
    if (!r.ok && r.fittable) {
        // What only the radio cannot hold can be fitted, if the user wants it.
        const auto answer = prompter_.message(
            workspace_.dialogParent(), caption(),
            r.error + QStringLiteral("\n\n") +
                settings_.text("Fit what the radio cannot hold (cut long names, take the nearest "
                               "tone, leave out other such rows)?",
                               "是否调整对讲机无法保存的内容（截短过长的名字、取最接近的亚音频、"
                               "略过其他此类行）？"),
            Prompter::Icon::Question, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) return;
        options.lenient = true;
        r = cps::exchange::importCsv(bytes, base, options);
    }
    if (!r.ok) {
        prompter_.message(workspace_.dialogParent(), caption(),
                          settings_.text("The channel list was not imported:", "信道列表未导入：") +
                              QLatin1Char('\n') + r.error,
                          Prompter::Icon::Exclamation, QMessageBox::Ok);
        return;
    }
    if (frame != workspace_.activeFrame() || !frame) return;
    frame->documentImage() = r.image;
    frame->fillGridFromImage();
    frame->document()->recordChange(settings_.text("Import Channels", "导入信道"));
    if (!r.notes.isEmpty())
        prompter_.message(workspace_.dialogParent(), caption(),
                          settings_.text("Imported with these changes:", "已导入，有以下改动：") +
                              QLatin1Char('\n') + r.notes.join(QLatin1Char('\n')),
                          Prompter::Icon::Information, QMessageBox::Ok);
}

void ExchangeCommands::compareWithRadio() {
    CChildFrame* frame = workspace_.activeFrame();
    if (!frame) return;
    // One Process window per channel window, as for Read and Write; the open one may still
    // be working for the host it was given.
    if (frame->transferWindowOpen()) return;
    scratch_ = std::make_unique<cps::ScratchReadHost>(frame, [this](const cps::RadioImage& radio) {
        // After the transfer has finished with its window.
        const cps::RadioImage copy = radio;
        QTimer::singleShot(0, this, [this, copy] {
            cps::RadioImage document;
            if (workspace_.documentWithGrid(&document)) showComparison(document, copy);
        });
    });
    cps::radioui::read(*scratch_);
}

void ExchangeCommands::showComparison(const cps::RadioImage& document,
                                      const cps::RadioImage& radio) {
    const bool chinese = settings_.chinese;
    const cps::exchange::Comparison c = cps::exchange::compare(document, radio, chinese);
    CCompareDlg dlg(cps::exchange::describe(c, document, radio, chinese), chinese,
                    workspace_.dialogParent());
    dlg.exec();
}
