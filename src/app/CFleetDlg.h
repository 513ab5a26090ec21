#pragma once

#include <QDialog>
#include <QPointer>
#include <atomic>
#include <functional>

#include "FleetJob.h"
#include "FleetRun.h"
#include "RadioUi.h"

class Prompter;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QThread;

// Program > Program Fleet...: one configuration written to many radios, each with its own
// values. A row per radio, a column per chosen field, then the radio's progress, state and
// result while the fleet runs. The job, the images and the run are the command line's
// (cps fleet); this window only gathers the table and shows the rows.
class CFleetDlg : public QDialog {
    Q_OBJECT
  public:
    struct Host {
        // The document's image with the grid stored into it; false without a document.
        std::function<bool(cps::RadioImage*)> documentImage;
        // The document's file; empty while it has none.
        std::function<QString()> documentPath;
        // The document is busy while the fleet runs, as during a single transfer.
        std::function<void(bool)> setBusy;
        cps::RadioContext radio;
        bool serviceAccess = false;
    };

    CFleetDlg(Host host, Prompter& prompter, QWidget* parent);
    ~CFleetDlg() override;

    QTableWidget* table() const { return table_; }
    bool running() const { return thread_ != nullptr; }
    // Where the log of the document's fleet is kept: beside the document.
    static QString logPathFor(const QString& documentPath);

    // Column positions: the label, the fields, then the three state columns.
    int fieldColumn(int index) const { return 1 + index; }
    int progressColumn() const;
    int stateColumn() const { return progressColumn() + 1; }
    int resultColumn() const { return progressColumn() + 2; }

    void addColumn();
    void fillDown();
    void importJob();
    void exportJob();
    void start();
    void stop();

  signals:
    // Every radio of the run has ended (or the run stopped); allDone: the job is complete.
    void finished(bool allDone);

  protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Observer;
    QString text(const char* en, const char* zh) const;
    void insertColumn(const cps::exchange::JobColumn& column);
    void setRowCount(int rows);
    void paste();
    cps::exchange::Job jobFromTable(QList<int>* tableRows) const;
    void loadJob(const cps::exchange::Job& job);
    void setRunning(bool running);
    void radioStarted(int row);
    void radioProgress(int row, int permille);
    void radioEnded(int row, const cps::exchange::FleetEntry& entry);
    void runEnded(const cps::exchange::FleetSummary& summary);
    bool askBeforeRadio(const QString& what);
    void message(const QString& text);

    Host host_;
    Prompter& prompter_;
    bool chinese_;
    QList<cps::exchange::JobColumn> columns_;
    QTableWidget* table_;
    QSpinBox* rows_;
    QListWidget* ports_;
    QCheckBox* verify_;
    QCheckBox* backup_;
    QCheckBox* askEach_;
    QLabel* logLabel_;
    QPushButton* start_;
    QPushButton* stop_;
    QList<QPushButton*> editButtons_;
    QThread* thread_ = nullptr;
    std::atomic<bool> stopFlag_{false};
    std::unique_ptr<Observer> observer_;
    std::unique_ptr<cps::exchange::FleetLog> log_;
    QList<cps::exchange::FleetRadio> radios_;
    QList<int> radioRows_;  // the table row of each radio of the run
};
