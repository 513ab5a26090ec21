#include "ReportPrinting.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "CPrintListDlg.h"
#include "PageRenderer.h"
#include "Pick.h"
#include "Prompter.h"

namespace cps {

ReportPrinting::ReportPrinting(const print::Source& source, QPrinter& printer, Prompter& prompter,
                               const QString& caption, QWidget* parent)
    : source_(source), printer_(printer), prompter_(prompter), caption_(caption), parent_(parent) {}

void ReportPrinting::tell(const char* english, const char* chinese) const {
    prompter_.message(parent_, caption_, pick(source_.chinese, english, chinese),
                      Prompter::Icon::Exclamation, QMessageBox::Ok);
}

bool ReportPrinting::prepare() {
    CPrintListDlg dialog(source_.chinese, parent_);
    print::Choice choice{};
    if (!dialog.choose(&choice)) return false;
    job_ = print::prepareJob(choice, *source_.channels);
    if (job_.maxPage < 1) {
        tell("Nothing to print", "没有可打印的内容");
        return false;
    }
    return true;
}

bool ReportPrinting::paint(int from, int to) {
    QPainter painter;
    if (!painter.begin(&printer_)) {
        tell("The printer could not be started.", "无法启动打印机。");
        return false;
    }
    print::paintJob(printer_, painter, job_, source_, from, to);
    return painter.end();
}

bool ReportPrinting::print(Mode mode) {
    if (!prepare()) return false;
    const int last = job_.maxPage;
    switch (mode) {
        case Mode::Direct:
            printer_.setPrintRange(QPrinter::AllPages);
            return paint(1, last);
        case Mode::Preview: {
            QPrintPreviewDialog preview(&printer_, parent_);
            preview.setWindowTitle(pick(source_.chinese, "Print Preview", "打印预览"));
            // Big enough to read a page.
            if (parent_) preview.resize(parent_->size() * 4 / 5);
            QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                             [this, last](QPrinter* p) {
                                 QPainter painter(p);
                                 print::paintJob(*p, painter, job_, source_, 1, last);
                             });
            preview.exec();
            return true;
        }
        case Mode::Dialog:
            break;
    }
    printer_.setFromTo(1, last);
    QPrintDialog dialog(&printer_, parent_);
    dialog.setMinMax(1, last);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    int from = 1;
    int to = last;
    if (printer_.printRange() == QPrinter::PageRange) {
        from = qBound(1, printer_.fromPage(), last);
        to = qBound(from, printer_.toPage(), last);
    }
    return paint(from, to);
}

bool ReportPrinting::exportPdf() {
    if (!prepare()) return false;
    const QString path =
        prompter_.saveFileName(parent_, pick(source_.chinese, "Report.pdf", "报表.pdf"),
                               pick(source_.chinese, "PDF File (*.pdf)", "PDF 文件 (*.pdf)"));
    if (path.isEmpty()) return false;
    QString error;
    if (print::writePdf(path, job_, source_, &error)) return true;
    prompter_.message(parent_, caption_,
                      pick(source_.chinese, "The report was not saved.", "报表未保存。") +
                          QLatin1Char('\n') + error,
                      Prompter::Icon::Exclamation, QMessageBox::Ok);
    return false;
}

bool ReportPrinting::pageSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace cps
