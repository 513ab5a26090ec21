#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "RadioImage.h"
#include "RadioUi.h"
#include "ServiceExchange.h"

class CMSFlexGrid;
class QLineEdit;
class QPushButton;

namespace cps {

namespace field {
struct Table;
}
class FieldBinder;
class ServiceGrid;

// The Read and Write buttons every service dialog's template has, "Read"/"读取" and
// "Write"/"写入", created in that order (their place in the tab order).
struct ReadWriteButtons {
    static constexpr int kReadId = 1140;
    static constexpr int kWriteId = 1141;
    QPushButton* read;
    QPushButton* write;
};
ReadWriteButtons readWriteButtons(QWidget* dialog, bool chinese);

// A service dialog over a grid of calibration fields edited in place, with Read and Write of
// exactly its range against the radio of the context. OK stores the table into the image.
class ServiceDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kReadId = ReadWriteButtons::kReadId;
    static constexpr int kWriteId = ReadWriteButtons::kWriteId;

    ~ServiceDialog() override;

    CMSFlexGrid* grid() const { return grid_; }
    QLineEdit* cellEdit() const { return edit_; }
    ServiceGrid* cells() const { return cells_; }
    QPushButton* readButton() const { return read_; }
    QPushButton* writeButton() const { return write_; }

  public slots:
    void accept() override;
    void readRadio();
    void writeRadio();

  protected:
    ServiceDialog(RadioImage& image, const RadioContext& radio, const ServiceRange& range,
                  int templateId, const QString& title, const field::Table& table, QWidget* parent);

    // The grid of rows x cols cells, headings included, without scroll bars.
    void addGrid(int id, int rows, int cols);
    // The grid's in-place edit and its cells (fieldAt as ServiceGrid takes it); the grid is
    // then width wide and exactly as tall as its rows.
    void addCells(int editId, std::function<int(int row, int col)> fieldAt, int width);
    // Read and Write, each doing its exchange.
    void addReadWrite();
    // Pixels of a template's twips at the dialog's resolution.
    int twips(int t) const { return t * logicalDpiX() / 1440; }

    bool chinese() const { return radio_.chinese; }
    FieldBinder& binder() const { return *binder_; }

  private:
    void store();

    RadioImage& image_;
    RadioContext radio_;
    ServiceRange range_;
    FieldBinder* binder_;
    CMSFlexGrid* grid_ = nullptr;
    QLineEdit* edit_ = nullptr;
    ServiceGrid* cells_ = nullptr;
    QPushButton* read_ = nullptr;
    QPushButton* write_ = nullptr;
};

}  // namespace cps
