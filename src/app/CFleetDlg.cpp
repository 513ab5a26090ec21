#include "CFleetDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

#include "ChannelCodec.h"
#include "Exchange.h"
#include "Field.h"
#include "Pick.h"
#include "PortNames.h"
#include "Prompter.h"
#include "SafeFile.h"

using namespace cps::exchange;

// Carries what the ports' threads report over to the window's thread.
class CFleetDlg::Observer : public FleetObserver {
  public:
    Observer(CFleetDlg* dlg, QList<int> rows, bool ask)
        : dlg_(dlg), rows_(std::move(rows)), ask_(ask) {}

    bool beforeRadio(const FleetRadio& radio, int number, int total,
                     const FleetPort& port) override {
        if (!ask_) return true;
        const QString label =
            radio.label.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(radio.label);
        const QString portName =
            port.name.startsWith(QLatin1String("\\\\.\\")) ? port.name.mid(4) : port.name;
        const QString what =
            cps::pick(dlg_->chinese_,
                      "Connect radio %1 of %2%3 to %4 and press OK; Cancel stops the fleet.",
                      "请将第 %1 台对讲机（共 %2 台）%3连接到 %4，然后按确定；按取消停止批量写入。")
                .arg(number)
                .arg(total)
                .arg(label, portName);
        bool go = false;
        QMetaObject::invokeMethod(
            dlg_, [this, &go, what] { go = dlg_->askBeforeRadio(what); },
            Qt::BlockingQueuedConnection);
        return go;
    }
    void started(int index, const FleetPort&) override {
        const int row = rows_[index];
        QMetaObject::invokeMethod(
            dlg_, [d = dlg_, row] { d->radioStarted(row); }, Qt::QueuedConnection);
    }
    void progress(int index, int permille) override {
        const int row = rows_[index];
        QMetaObject::invokeMethod(
            dlg_, [d = dlg_, row, permille] { d->radioProgress(row, permille); },
            Qt::QueuedConnection);
    }
    void ended(int index, const FleetEntry& entry) override {
        const int row = rows_[index];
        QMetaObject::invokeMethod(
            dlg_, [d = dlg_, row, entry] { d->radioEnded(row, entry); }, Qt::QueuedConnection);
    }

  private:
    CFleetDlg* dlg_;
    QList<int> rows_;
    bool ask_;
};

namespace {

QString columnTitle(const JobColumn& c, bool chinese) {
    const cps::field::Field& f = c.table->fields[static_cast<size_t>(c.field)];
    const QString label = f.label.get(chinese).trimmed();
    if (c.channel > 0)
        return cps::pick(chinese, "Channel %1: %2", "信道 %1：%2")
            .arg(cps::channelLabel(c.channel), label);
    return c.table->title.get(chinese) + (chinese ? QStringLiteral("：") : QStringLiteral(": ")) +
           label;
}

}  // namespace

CFleetDlg::CFleetDlg(Host host, Prompter& prompter, QWidget* parent)
    : QDialog(parent), host_(std::move(host)), prompter_(prompter), chinese_(host_.radio.chinese) {
    setObjectName(QStringLiteral("fleetDialog"));
    setWindowTitle(text("Program Fleet", "批量写频"));
    auto* layout = new QVBoxLayout(this);

    auto* tools = new QHBoxLayout;
    auto button = [this, tools](const char* name, const char* en, const char* zh) {
        auto* b = new QPushButton(text(en, zh), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        tools->addWidget(b);
        editButtons_ << b;
        return b;
    };
    connect(button("addColumn", "Add Column...", "添加列..."), &QPushButton::clicked, this,
            &CFleetDlg::addColumn);
    connect(button("fillDown", "Fill Down", "向下填充"), &QPushButton::clicked, this,
            &CFleetDlg::fillDown);
    connect(button("importJob", "Import Job...", "导入任务..."), &QPushButton::clicked, this,
            &CFleetDlg::importJob);
    connect(button("exportJob", "Export Job...", "导出任务..."), &QPushButton::clicked, this,
            &CFleetDlg::exportJob);
    tools->addStretch();
    tools->addWidget(new QLabel(text("Radios:", "对讲机数量："), this));
    rows_ = new QSpinBox(this);
    rows_->setObjectName(QStringLiteral("radioCount"));
    rows_->setRange(1, 999);
    tools->addWidget(rows_);
    layout->addLayout(tools);

    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName(QStringLiteral("fleetTable"));
    table_->setHorizontalHeaderLabels({text("Label", "标签"), text("Progress", "进度"),
                                       text("State", "状态"), text("Result", "结果")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->installEventFilter(this);
    layout->addWidget(table_, 1);
    connect(rows_, qOverload<int>(&QSpinBox::valueChanged), this, &CFleetDlg::setRowCount);

    auto* bottom = new QHBoxLayout;
    auto* portBox = new QGroupBox(text("Ports", "串口"), this);
    auto* portLayout = new QVBoxLayout(portBox);
    ports_ = new QListWidget(portBox);
    ports_->setObjectName(QStringLiteral("ports"));
    ports_->setFlow(QListView::LeftToRight);
    ports_->setWrapping(true);
    ports_->setResizeMode(QListView::Adjust);
    ports_->setMaximumHeight(64);
    for (int n = cps::kFirstPort; n <= cps::kLastPort; ++n) {
        const QString name = cps::portNameFor(n);
        auto* item = new QListWidgetItem(QStringLiteral("COM%1").arg(n), ports_);
        item->setData(Qt::UserRole, name);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(name == host_.radio.portName ? Qt::Checked : Qt::Unchecked);
        if (host_.radio.resolve) item->setToolTip(host_.radio.resolve(name));
    }
    portLayout->addWidget(ports_);
    bottom->addWidget(portBox, 1);
    auto* options = new QVBoxLayout;
    verify_ = new QCheckBox(text("Verify each radio after writing", "写入后校验每台对讲机"), this);
    verify_->setObjectName(QStringLiteral("verify"));
    verify_->setChecked(host_.radio.verifyAfterWrite);
    backup_ =
        new QCheckBox(text("Back up each radio before writing", "写入前备份每台对讲机"), this);
    backup_->setObjectName(QStringLiteral("backup"));
    askEach_ =
        new QCheckBox(text("Wait for me before each radio", "每台对讲机写入前等待确认"), this);
    askEach_->setObjectName(QStringLiteral("askEach"));
    askEach_->setChecked(true);
    logLabel_ = new QLabel(this);
    logLabel_->setObjectName(QStringLiteral("logLabel"));
    logLabel_->setWordWrap(true);
    options->addWidget(verify_);
    options->addWidget(backup_);
    options->addWidget(askEach_);
    options->addWidget(logLabel_);
    bottom->addLayout(options, 1);
    layout->addLayout(bottom);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    start_ = new QPushButton(text("Start", "开始"), this);
    start_->setObjectName(QStringLiteral("start"));
    stop_ = new QPushButton(text("Stop", "停止"), this);
    stop_->setObjectName(QStringLiteral("stop"));
    stop_->setEnabled(false);
    auto* close = new QPushButton(text("Close", "关闭"), this);
    close->setObjectName(QStringLiteral("close"));
    for (QPushButton* b : {start_, stop_, close}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, &CFleetDlg::start);
    connect(stop_, &QPushButton::clicked, this, &CFleetDlg::stop);
    connect(close, &QPushButton::clicked, this, &CFleetDlg::reject);

    const QString doc = host_.documentPath ? host_.documentPath() : QString();
    logLabel_->setText(
        doc.isEmpty() ? text("Log: kept beside the document once it is saved",
                             "日志：文件保存后存放在文件旁边")
                      : text("Log: %1", "日志：%1").arg(QDir::toNativeSeparators(logPathFor(doc))));
    setRowCount(rows_->value());
    resize(900, 560);
}

CFleetDlg::~CFleetDlg() {
    // The window goes only once the run is over; should it go anyway, the ports finish
    // the radios they are writing before the window's parts go.
    if (thread_) {
        stopFlag_ = true;
        thread_->wait();
        delete thread_;
    }
}

QString CFleetDlg::text(const char* en, const char* zh) const {
    return cps::pick(chinese_, en, zh);
}

int CFleetDlg::progressColumn() const { return 1 + static_cast<int>(columns_.size()); }

QString CFleetDlg::logPathFor(const QString& documentPath) {
    const QFileInfo info(documentPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-fleet-log.csv"));
}

void CFleetDlg::insertColumn(const JobColumn& column) {
    const int at = progressColumn();
    columns_ << column;
    table_->insertColumn(at);
    auto* head = new QTableWidgetItem(columnTitle(column, chinese_));
    head->setToolTip(column.header());
    head->setData(Qt::UserRole, column.header());
    table_->setHorizontalHeaderItem(at, head);
    table_->setColumnWidth(at, 130);
}

void CFleetDlg::setRowCount(int rows) {
    const int before = table_->rowCount();
    table_->setRowCount(rows);
    for (int r = before; r < rows; ++r) {
        for (int c : {stateColumn(), resultColumn()}) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            table_->setItem(r, c, item);
        }
        auto* bar = new QProgressBar(table_);
        bar->setRange(0, 1000);
        bar->setValue(0);
        bar->setTextVisible(false);
        table_->setCellWidget(r, progressColumn(), bar);
    }
    if (rows_->value() != rows) {
        const QSignalBlocker block(rows_);
        rows_->setValue(rows);
    }
}

void CFleetDlg::addColumn() {
    QStringList choices = jobSectionHeaders(host_.serviceAccess);
    for (const QString& heading : jobChannelHeadings())
        choices << QStringLiteral("channel 1:") + heading;
    bool ok = false;
    const QString header = QInputDialog::getItem(
        this, text("Add Column", "添加列"),
        text("Field (SECTION:FIELD, or channel N:HEADING for a channel's cell):",
             "字段（分区:字段，或 channel N:列名 表示某信道的单元格）："),
        choices, 0, true, &ok);
    if (!ok || header.trimmed().isEmpty()) return;
    JobColumn column;
    QString why;
    if (!parseJobColumn(header.trimmed(), &column, &why, chinese_)) return message(why);
    if (columns_.contains(column))
        return message(text("The job has a column for %1 already.", "任务中已有 %1 列。")
                           .arg(column.header()));
    insertColumn(column);
}

void CFleetDlg::fillDown() {
    const int col = table_->currentColumn();
    if (col < 0 || col >= progressColumn()) return;
    int first = table_->rowCount(), last = -1;
    for (const QTableWidgetSelectionRange& range : table_->selectedRanges()) {
        if (range.leftColumn() > col || range.rightColumn() < col) continue;
        first = std::min(first, range.topRow());
        last = std::max(last, range.bottomRow());
    }
    if (last < 0) first = last = table_->currentRow();
    if (first < 0) return;
    // One cell chosen: from it to the last radio.
    if (last == first) last = table_->rowCount() - 1;
    const QTableWidgetItem* seed = table_->item(first, col);
    const QString start = seed ? seed->text().trimmed() : QString();
    if (start.isEmpty()) return;
    const bool hex = col > 0 && columns_[col - 1].hex();
    const QStringList values = fillSeries(start, last - first + 1, hex);
    for (int r = first; r <= last; ++r) {
        QTableWidgetItem* item = table_->item(r, col);
        if (!item) table_->setItem(r, col, item = new QTableWidgetItem);
        item->setText(values[r - first]);
    }
}

bool CFleetDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress && !running()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            paste();
            return true;
        }
        if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) {
            fillDown();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Cells copied from a spreadsheet: tabs between cells, a line per row, from the current
// cell on; rows are added as needed, cells past the last field column are left out.
void CFleetDlg::paste() {
    QString clip = QApplication::clipboard()->text();
    clip.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (clip.endsWith(QLatin1Char('\n'))) clip.chop(1);
    if (clip.isEmpty()) return;
    const int top = std::max(table_->currentRow(), 0);
    const int left = std::max(table_->currentColumn(), 0);
    if (left >= progressColumn()) return;
    const QStringList lines = clip.split(QLatin1Char('\n'));
    if (top + lines.size() > table_->rowCount())
        setRowCount(std::min(999, top + static_cast<int>(lines.size())));
    for (int i = 0; i < lines.size() && top + i < table_->rowCount(); ++i) {
        const QStringList cells = lines[i].split(QLatin1Char('\t'));
        for (int j = 0; j < cells.size() && left + j < progressColumn(); ++j) {
            QTableWidgetItem* item = table_->item(top + i, left + j);
            if (!item) table_->setItem(top + i, left + j, item = new QTableWidgetItem);
            item->setText(cells[j].trimmed());
        }
    }
}

Job CFleetDlg::jobFromTable(QList<int>* tableRows) const {
    Job job;
    job.columns = columns_;
    for (int r = 0; r < table_->rowCount(); ++r) {
        JobRow row;
        row.line = r + 2;  // as in the exported file, under its header
        bool any = false;
        for (int c = 0; c < progressColumn(); ++c) {
            const QTableWidgetItem* item = table_->item(r, c);
            const QString value = item ? item->text().trimmed() : QString();
            any = any || !value.isEmpty();
            if (c == 0)
                row.label = value;
            else
                row.values << value;
        }
        if (!any) continue;  // a row left empty is no radio
        job.rows << row;
        if (tableRows) *tableRows << r;
    }
    return job;
}

void CFleetDlg::loadJob(const Job& job) {
    while (progressColumn() > 1) {
        table_->removeColumn(1);
        columns_.removeFirst();
    }
    table_->setRowCount(0);
    for (const JobColumn& c : job.columns) insertColumn(c);
    setRowCount(static_cast<int>(job.rows.size()));
    for (int r = 0; r < job.rows.size(); ++r) {
        table_->setItem(r, 0, new QTableWidgetItem(job.rows[r].label));
        for (int c = 0; c < job.columns.size(); ++c)
            table_->setItem(r, fieldColumn(c), new QTableWidgetItem(job.rows[r].values.value(c)));
    }
}

void CFleetDlg::importJob() {
    const QString path =
        prompter_.openFileName(this, text("Fleet Job (*.csv)", "批量任务 (*.csv)"));
    if (path.isEmpty()) return;
    QFile file;
    QString error;
    Job job;
    if (cps::openRegularFile(file, path, &error, chinese_) &&
        readJob(file.read(cps::kMaxInputFile + 1), &job, &error, chinese_))
        return loadJob(job);
    message(text("The job was not imported:", "任务未导入：") + QLatin1Char('\n') + error);
}

void CFleetDlg::exportJob() {
    const QString path = prompter_.saveFileName(this, QStringLiteral("fleet-job.csv"),
                                                text("Fleet Job (*.csv)", "批量任务 (*.csv)"));
    if (path.isEmpty()) return;
    QString error;
    if (!cps::replaceFile(path, writeJob(jobFromTable(nullptr)), &error))
        message(text("Failed to save the job.", "无法保存任务。") + QLatin1Char('\n') + error);
}

void CFleetDlg::message(const QString& text) {
    prompter_.message(this, windowTitle(), text, Prompter::Icon::Exclamation, QMessageBox::Ok);
}

bool CFleetDlg::askBeforeRadio(const QString& what) {
    if (stopFlag_) return false;
    return prompter_.message(this, windowTitle(), what, Prompter::Icon::Information,
                             QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void CFleetDlg::start() {
    if (running()) return;
    const QString doc = host_.documentPath ? host_.documentPath() : QString();
    if (doc.isEmpty())
        return message(text("Save the document first: the fleet's log is kept beside it.",
                            "请先保存文件：批量写入的日志存放在文件旁边。"));
    QList<FleetPort> ports;
    for (int i = 0; i < ports_->count(); ++i) {
        const QListWidgetItem* item = ports_->item(i);
        if (item->checkState() != Qt::Checked) continue;
        const QString name = item->data(Qt::UserRole).toString();
        ports << FleetPort{name, host_.radio.resolve ? host_.radio.resolve(name) : name};
    }
    if (ports.isEmpty()) return message(text("Choose at least one port.", "请至少选择一个串口。"));
    if (columns_.isEmpty())
        return message(text("Add a column for a field first.", "请先添加字段列。"));
    QList<int> rows;
    const Job job = jobFromTable(&rows);
    if (job.rows.isEmpty()) return message(text("The job lists no radio.", "任务中没有对讲机。"));
    cps::RadioImage image;
    if (!host_.documentImage || !host_.documentImage(&image)) return;
    const JobImages images = jobImages(job, image, host_.serviceAccess, chinese_);
    if (!images.ok)
        return message(text("Nothing was written: the job has a value the radio cannot take.",
                            "未写入：任务中有对讲机无法接受的值。") +
                       QLatin1Char('\n') + images.error);

    log_ = std::make_unique<FleetLog>(logPathFor(doc));
    QString error;
    if (!log_->open(&error)) return message(error);
    radios_.clear();
    radioRows_ = rows;
    for (int i = 0; i < images.radios.size(); ++i) {
        const JobRadio& r = images.radios[i];
        radios_ << FleetRadio{r.line, r.label, r.image};
        const bool done = log_->doneLines().contains(r.line);
        table_->item(rows[i], stateColumn())
            ->setText(done ? text("Done before", "此前已完成") : text("Waiting", "等待"));
        table_->item(rows[i], resultColumn())->setText(QString());
        if (auto* bar = qobject_cast<QProgressBar*>(table_->cellWidget(rows[i], progressColumn())))
            bar->setValue(done ? 1000 : 0);
    }
    FleetOptions options;
    options.verify = verify_->isChecked();
    options.chinese = chinese_;
    if (backup_->isChecked()) {
        const QFileInfo info(doc);
        options.backupDir =
            info.dir().filePath(info.completeBaseName() + QStringLiteral("-fleet-backups"));
    }
    observer_ = std::make_unique<Observer>(this, rows, askEach_->isChecked());
    stopFlag_ = false;
    setRunning(true);
    if (host_.setBusy) host_.setBusy(true);
    thread_ = QThread::create([this, ports, options] {
        const FleetSummary summary =
            runFleet(radios_, ports, options, *log_, *observer_, stopFlag_);
        QMetaObject::invokeMethod(
            this, [this, summary] { runEnded(summary); }, Qt::QueuedConnection);
    });
    thread_->start();
}

void CFleetDlg::stop() {
    if (!running()) return;
    // The radios being written finish; no further one starts.
    stopFlag_ = true;
    stop_->setEnabled(false);
}

void CFleetDlg::setRunning(bool running) {
    for (QPushButton* b : editButtons_) b->setEnabled(!running);
    for (QWidget* w :
         std::initializer_list<QWidget*>{rows_, ports_, verify_, backup_, askEach_, start_})
        w->setEnabled(!running);
    stop_->setEnabled(running);
    table_->setEditTriggers(running ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::DoubleClicked |
                                          QAbstractItemView::EditKeyPressed |
                                          QAbstractItemView::AnyKeyPressed);
}

void CFleetDlg::radioStarted(int row) {
    table_->item(row, stateColumn())->setText(text("Writing", "正在写入"));
    table_->scrollToItem(table_->item(row, stateColumn()));
}

void CFleetDlg::radioProgress(int row, int permille) {
    if (auto* bar = qobject_cast<QProgressBar*>(table_->cellWidget(row, progressColumn())))
        bar->setValue(permille);
}

void CFleetDlg::radioEnded(int row, const FleetEntry& entry) {
    table_->item(row, stateColumn())
        ->setText(entry.done() ? text("Done", "完成") : text("Failed", "失败"));
    // The log keeps its own words; the window shows the two common ones in its language.
    QString result = entry.done() ? text("done", "完成") : entry.result;
    if (entry.verify == QLatin1String("verified"))
        result += text(", verified", "，已校验");
    else if (!entry.verify.isEmpty())
        result += QStringLiteral(", ") + entry.verify;
    if (!entry.radio.isEmpty()) result += QStringLiteral(" [%1, %2]").arg(entry.radio, entry.port);
    table_->item(row, resultColumn())->setText(result);
    table_->item(row, resultColumn())->setToolTip(result);
    if (entry.done())
        if (auto* bar = qobject_cast<QProgressBar*>(table_->cellWidget(row, progressColumn())))
            bar->setValue(1000);
}

void CFleetDlg::runEnded(const FleetSummary& summary) {
    if (thread_) {
        thread_->wait();
        delete thread_;
        thread_ = nullptr;
    }
    setRunning(false);
    if (host_.setBusy) host_.setBusy(false);
    QString line = text("%1 of %2 radios done; log: %3", "%2 台对讲机中已完成 %1 台；日志：%3")
                       .arg(summary.done)
                       .arg(radios_.size())
                       .arg(QDir::toNativeSeparators(log_->path()));
    if (!summary.error.isEmpty()) line += QLatin1Char('\n') + summary.error;
    logLabel_->setText(line);
    if (!summary.error.isEmpty()) message(summary.error);
    emit finished(summary.allDone());
}

void CFleetDlg::reject() {
    if (running()) {
        message(text("The fleet is running. Stop it first; the radios being written finish.",
                     "批量写入正在进行。请先停止；正在写入的对讲机会写完。"));
        return;
    }
    QDialog::reject();
}
