// Every way a text reaches a channel cell meets one set of rules: the grid's table, the
// channel field table, the row table `cps channels --import` reads, the CSV and JSON
// imports, a paste of rows into the grid and, for a sample, keys typed into the grid's
// editors. A few hundred texts go into every column through each path; each path must take
// or refuse a text as the grid's table does, and say why in the same words.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "CMSFlexGrid.h"
#include "CProgramView.h"
#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "Exchange.h"
#include "Field.h"
#include "KeyFilter.h"
#include "Prompter.h"
#include "RealInput.h"
#include "RowImport.h"
#include "RowText.h"

using namespace cps;

namespace {

class RecordingPrompter : public Prompter {
  public:
    QStringList texts;
    QMessageBox::StandardButton message(QWidget*, const QString&, const QString& text, Icon,
                                        QMessageBox::StandardButtons) override {
        texts << text;
        return QMessageBox::Ok;
    }
    QString openFileName(QWidget*, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

// Band 1 134-176 MHz, band 2 400-480 MHz: room for texts between and beside them.
Bands testBands() {
    Bands b;
    b.band1 = {134 * kPerMHz, 176 * kPerMHz};
    b.band2 = {400 * kPerMHz, 480 * kPerMHz};
    return b;
}

// Channel 1 holds a channel; every text is typed over it.
RadioImage baseImage() {
    RadioImage image;
    packBands(image, testBands());
    ChannelTable t(false);
    t.fill(image);
    const char* texts[] = {"150",  "150",  "None", "88.5", "BASE",
                           "High", "Wide", "Yes",  "Off",  "Off"};
    for (int col = 1; col < ChannelTable::kCols; ++col)
        t.typeCell(1, col, QString::fromUtf8(texts[col - 1]));
    t.store(image);
    return image;
}

QStringList texts() {
    QStringList out;
    const char* fixed[] = {
        // frequencies: valid, odd spacing, exponents, signs, other digits, steps, bands
        "145.5", "145.50000", "145.500000", "145.", "0145.5", "145.5.5", "1.455e2", "1.455E2",
        "145.5x", "x145.5", " 145.5", "145.5 ", "145 .5", "+145.5", "-145.5", "145,5", "１４５.５",
        "١٤٥.٥", "145。5", "145.503", "145.00625", "136.0025", "136.00625", "200", "600",
        "600.00001", "66.99999", "67", "0", "00000", ".", " ", "", "134", "176", "176.00001",
        "133.99999", "400", "480", "450.0125", "145.5\t", "145.5\n", "145.5\u00a0", "\u3000145.5",
        "1455e-1", "0x91", "inf", "nan", "1e999", "99999999999999999999", "150.00000", "150",
        "150.0",
        // tones
        "None", "none", "NONE", "无", "無", "D023N", "d023n", "D023I", "D754I", "D999N", "D02",
        "88.5", "88.50", "88.55", "088.5", " 88.5", "88.5 ", "+88.5", "8.85e1", "88.5x", "60",
        "59.9", "259.9", "259.99", "260", "67.0", "６７.0", "None ", "Tone", "100.0", "100.55",
        "-88.5",
        // names
        "A", "ABC", "ABCDEFG", "ABCDEFGH", "ABCDEFGHI", " SPACE ", "a b", "名字", "é", "CAFÉ",
        "\u0080X", "\u00feZ", "\u00ffZ", "\u0001A", "tab\there", "line\nbreak", "\\x41",
        "back\\slash", "BASE", "base", "'quoted'", "\"dq\"", "a,b",
        // list items
        "High", "high", "HIGH", "高", "Middle", "中", "Low", "低", "Wide", "narrow", "窄", "Yes",
        "no", "是", "否", "Off", "off", "关", "Carrier", "载波", "QT/DQT", "qt/dqt", "BOT", "EOT",
        "Both", "两者", "发射开始", "High ", "Hi", "Both2", "On"};
    for (const char* t : fixed) out << QString::fromUtf8(t);
    out << QString(QChar(0));
    // Overlong texts of each kind.
    out << QStringLiteral("145.") + QString(100, QLatin1Char('0'));
    out << QStringLiteral("145.5").repeated(40) << QString(300, QLatin1Char('N'));
    out << QStringLiteral("High").repeated(30);
    // Frequencies across the bands and steps, and tones across their range.
    for (int i = 0; i < 90; ++i) {
        const long long v = 13000000LL + i * 3729137LL % 37000000LL + (i % 7) * 125;
        out << QString::number(v / 100000) + QLatin1Char('.') +
                   QStringLiteral("%1").arg(v % 100000, 5, 10, QLatin1Char('0')).left(1 + i % 5);
    }
    for (int t = 550; t <= 2650; t += 23) out << QString::number(t / 10.0, 'f', 1 + t % 2);
    out.removeDuplicates();
    return out;
}

bool hasControl(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) return true;
    return false;
}

// What typing a text into row 1 of the grid's table gives.
struct Outcome {
    bool refused = false;
    bool changed = false;
    Notice notice = Notice::None;  // the entry message the grid's editor shows
    QString message;               // why it was refused
    ChannelRow row;                // row 1 afterwards
    RadioImage image;              // the table stored into the image
};

Outcome grid(const ChannelTable& base, const RadioImage& image, int col, const QString& text,
             bool chinese) {
    ChannelTable t = base;
    const CellEntry e = t.typeCell(1, col, text);
    Outcome o;
    o.refused = e.refused;
    o.changed = e.changed;
    o.notice = e.outcome.notice;
    if (e.refused) o.message = ChannelTable::refusalText(e, chinese);
    o.row = t.row(1);
    o.image = image;
    t.store(o.image);
    return o;
}

QString where(int col, const QString& text, bool chinese) {
    return QStringLiteral("column %1, %2, \"%3\"")
        .arg(col)
        .arg(chinese ? "zh" : "en", escapeCell(text));
}

}  // namespace

class ChannelRulesTest : public QObject {
    Q_OBJECT

    RecordingPrompter prompter_;
    std::unique_ptr<CProgramView> view_;

    CMSFlexGrid* gridWidget() const { return view_->grid(); }

    void openView(RadioImage& image, bool chinese) {
        CProgramView::Settings settings;
        settings.chinese = chinese;
        view_ = std::make_unique<CProgramView>(image, settings, &prompter_);
        view_->resize(1000, 600);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
        view_->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == view_.get());
    }

    // Keys for ASCII; other letters arrive as an input method commits them.
    static void typeText(QWidget* editor, const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus == editor || editor->isAncestorOf(focus));
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(focus, char(c.unicode()));
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QApplication::sendEvent(focus, &commit);
            }
        }
    }

    void clickCell(int row, int col) {
        QTableWidgetItem* it = gridWidget()->item(row - 1, col - 1);
        gridWidget()->scrollToItem(it);
        const QString why =
            test::clickSeen(gridWidget()->viewport(), gridWidget()->visualItemRect(it).center());
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }

  private slots:
    void cleanup() { view_.reset(); }

    // The channel field table and the three file imports against the grid's table.
    void filesAndFieldTableSayWhatTheGridSays_data() {
        QTest::addColumn<bool>("chinese");
        QTest::newRow("en") << false;
        QTest::newRow("zh") << true;
    }
    void filesAndFieldTableSayWhatTheGridSays() {
        QFETCH(bool, chinese);
        const RadioImage image = baseImage();
        ChannelTable base(chinese);
        base.fill(image);
        const field::Table& fields = channelFields();
        const QStringList all = texts();
        QVERIFY(all.size() > 300);
        const QString baseRows = cli::exportChannelRows(image, chinese);
        int compared = 0;
        for (int col = 1; col < ChannelTable::kCols; ++col) {
            const field::Field& f = fields.fields[static_cast<size_t>(col - 1)];
            for (const QString& text : all) {
                const QString at = where(col, text, chinese);
                const Outcome g = grid(base, image, col, text, chinese);

                // The field table, which knows no row: a text the cell already shows is no
                // entry for the grid.
                if (text != base.text(1, col)) {
                    field::Env env;
                    env.chinese = chinese;
                    env.bands = base.bands();
                    const field::Parsed p = field::parse(f, text, env);
                    QVERIFY2(p.ok == !g.refused, qPrintable(at));
                    if (p.ok)
                        QVERIFY2(p.text == g.row[col - 1], qPrintable(at + " " + p.text));
                    else
                        QVERIFY2(p.why.section(QLatin1Char('\n'), 0, 0) == g.message,
                                 qPrintable(at + " " + p.why + " / " + g.message));
                }

                // The row table, the text escaped as `cps channels` prints it.
                QStringList lines = baseRows.split(QLatin1Char('\n'));
                QStringList cells = lines[0].split(QLatin1Char('\t'));
                cells[col] = escapeCell(text);
                lines[0] = cells.join(QLatin1Char('\t'));
                RadioImage tsv = image;
                const cli::RowImportResult r = cli::importChannelRows(
                    lines.join(QLatin1Char('\n')).toUtf8(), QStringLiteral("rows"), tsv, chinese);
                QVERIFY2(r.ok == !g.refused, qPrintable(at + " " + r.messages.join('|')));
                if (r.ok)
                    QVERIFY2(tsv == g.image, qPrintable(at));
                else
                    QVERIFY2(r.messages.join(QLatin1Char('\n')).contains(g.message),
                             qPrintable(at + " " + r.messages.join('|')));

                // JSON: a text file refuses control characters in any member before a rule
                // sees it, and a value stored otherwise than written.
                QJsonObject cell;
                cell.insert(QString::fromUtf8(f.key), text);
                QJsonObject channels;
                channels.insert(QStringLiteral("1"), cell);
                QJsonObject root;
                root.insert(QStringLiteral("channels"), channels);
                exchange::JsonOptions jo;
                jo.chinese = chinese;
                const exchange::ImportResult j =
                    exchange::importJson(QJsonDocument(root).toJson(), image, jo);
                const bool unchanged = text == base.text(1, col).trimmed();
                if (!unchanged && hasControl(text)) {
                    QVERIFY2(!j.ok && j.error.contains(chinese ? "控制字符" : "control character"),
                             qPrintable(at + " " + j.error));
                } else if (g.refused) {
                    QVERIFY2(!j.ok && j.error.contains(g.message), qPrintable(at + " " + j.error));
                } else if (g.changed) {
                    QVERIFY2(!j.ok && j.error.contains(g.row[col - 1]),
                             qPrintable(at + " " + j.error));
                } else {
                    QVERIFY2(j.ok, qPrintable(at + " " + j.error));
                    QVERIFY2(unchanged || j.image == g.image, qPrintable(at));
                }
                ++compared;
            }
        }

        // CSV carries the receive frequency and the name as they are; its reader trims cells
        // other than the name, as spreadsheets pad them.
        for (const QString& text : all) {
            for (int col : {1, 5}) {
                const QString at = where(col, text, chinese) + " csv";
                const QString typed = col == 1 ? text.trimmed() : text;
                const Outcome g = grid(base, image, col, typed, chinese);
                const QString name = col == 5 ? text : base.text(1, 5);
                const QString freq = col == 1 ? text : base.text(1, 1);
                const QByteArray csv =
                    (QStringLiteral("Location,Name,Frequency\r\n1,") + exchange::csvCell(name) +
                     QLatin1Char(',') + exchange::csvCell(freq) + QStringLiteral("\r\n"))
                        .toUtf8();
                exchange::CsvOptions co;
                co.chinese = chinese;
                const exchange::ImportResult c = exchange::importCsv(csv, image, co);
                if (col == 5 && typed != base.text(1, 5) && hasControl(text)) {
                    QVERIFY2(!c.ok && c.error.contains(chinese ? "控制字符" : "control character"),
                             qPrintable(at + " " + c.error));
                    continue;
                }
                QVERIFY2(c.ok == !g.refused, qPrintable(at + " " + c.error));
                if (!c.ok) {
                    QVERIFY2(c.error.contains(g.message), qPrintable(at + " " + c.error));
                    continue;
                }
                ChannelTable back(chinese);
                back.fill(c.image);
                ChannelTable expected(chinese);
                expected.fill(g.image);
                QVERIFY2(back.text(1, col) == expected.text(1, col),
                         qPrintable(at + " " + back.text(1, col)));
                ++compared;
            }
        }
        QVERIFY(compared > 3000);
    }

    // Rows pasted into the grid with Ctrl+V, one changed cell at a time.
    void pasteSaysWhatTheGridSays_data() { filesAndFieldTableSayWhatTheGridSays_data(); }
    void pasteSaysWhatTheGridSays() {
        QFETCH(bool, chinese);
        RadioImage image = baseImage();
        openView(image, chinese);
        const ChannelTable base = view_->table();
        // The row label selects the row; the paste goes there.
        QHeaderView* labels = gridWidget()->verticalHeader();
        const QString why = test::clickSeen(
            labels->viewport(), QPoint(labels->width() / 2, labels->sectionViewportPosition(0) +
                                                                labels->sectionSize(0) / 2));
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QTRY_VERIFY(QApplication::focusWidget() == gridWidget());
        const QStringList all = texts();
        for (int col = 1; col < ChannelTable::kCols; ++col) {
            // Every text in English; in Chinese, where only the words differ, a fifth of them.
            for (int i = chinese ? col % 5 : 0; i < all.size(); i += chinese ? 5 : 1) {
                const QString& text = all[i];
                const QString at = where(col, text, chinese);
                const Outcome g = grid(base, image, col, text, chinese);
                ChannelRow row = base.row(1);
                row[col - 1] = text;
                QApplication::clipboard()->setText(rowLine(QStringLiteral("1"), row));
                prompter_.texts.clear();
                test::pressKey(Qt::Key_V, Qt::ControlModifier);
                QVERIFY2(view_->table().row(1) == (g.refused ? base.row(1) : g.row),
                         qPrintable(at));
                if (g.refused) {
                    QVERIFY2(prompter_.texts.size() == 1 && prompter_.texts[0].contains(g.message),
                             qPrintable(at + " " + prompter_.texts.join('|')));
                } else {
                    QVERIFY2(prompter_.texts.isEmpty(), qPrintable(at));
                }
                view_->restoreTable(base);
            }
        }
    }

    // Keys typed into the grid's editors: what the key filters leave of a text meets the
    // same rule, and a refused frequency shows the same words.
    void typedKeysMeetTheSameRules_data() { filesAndFieldTableSayWhatTheGridSays_data(); }
    void typedKeysMeetTheSameRules() {
        QFETCH(bool, chinese);
        RadioImage image = baseImage();
        openView(image, chinese);
        const ChannelTable base = view_->table();
        const QStringList all = texts();
        int sampled = 0;
        for (int col : {1, 2, 3, 5}) {
            for (int i = col; i < all.size(); i += 9) {
                const QString& text = all[i];
                if (hasControl(text)) continue;  // Tab and Enter are keys of their own
                const QString at = where(col, text, chinese) + " typed";
                clickCell(1, col);
                QWidget* editor = view_->editorFor(col);
                QTRY_VERIFY(editor->isVisible());
                typeText(editor, text);
                auto* line = qobject_cast<QLineEdit*>(editor);
                const QString held =
                    line ? line->text() : qobject_cast<QComboBox*>(editor)->currentText();
                if (col != 3) {
                    // The frequency editor keeps digits and the full stop, nine at most; the
                    // name editor printable ASCII, seven at most. What else is typed or comes
                    // from an input method is discarded and leaves the cell's text selected.
                    const bool freq = col <= 2;
                    const int limit =
                        freq ? ChannelTable::kFreqMaxLength : ChannelTable::kNameMaxLength;
                    QString kept;
                    for (QChar c : text)
                        if ((freq ? keys::frequencyChar(c) : keys::printableAscii(c)) &&
                            kept.size() < limit)
                            kept += c;
                    QVERIFY2(held == (kept.isEmpty() ? base.text(1, col) : kept),
                             qPrintable(at + " " + held));
                }
                const Outcome g = grid(base, image, col, held, chinese);
                prompter_.texts.clear();
                test::pressKey(Qt::Key_Tab);
                QVERIFY2(view_->table().row(1) == g.row, qPrintable(at + " " + held));
                if (g.notice != Notice::None)
                    QVERIFY2(prompter_.texts.size() == 1 &&
                                 prompter_.texts[0].startsWith(g.message + QLatin1Char('\n')),
                             qPrintable(at + " " + prompter_.texts.join('|')));
                else
                    QVERIFY2(prompter_.texts.isEmpty(), qPrintable(at));
                if (editor->isVisible()) test::pressKey(Qt::Key_Escape);
                view_->restoreTable(base);
                ++sampled;
            }
        }
        QVERIFY(sampled > 60);
    }

    // The three key filters: the grid's frequency editor, the 2-Tone pages, the MSK codes.
    void keyFilters() {
        using keys::passes;
        for (int k = Qt::Key_0; k <= Qt::Key_9; ++k)
            for (const keys::KeySet& set : {keys::kFrequency, keys::kDecimal, keys::kHex})
                QVERIFY(passes(set, k, Qt::NoModifier) && passes(set, k, Qt::KeypadModifier));
        for (int k : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                      Qt::Key_Down})
            for (const keys::KeySet& set : {keys::kFrequency, keys::kDecimal, keys::kHex})
                QVERIFY(passes(set, k, Qt::NoModifier));
        // The grid takes the full stop from either keyboard, the 2-Tone pages the keypad's
        // only; the MSK codes take none, but A to F.
        QVERIFY(passes(keys::kFrequency, Qt::Key_Period, Qt::NoModifier));
        QVERIFY(passes(keys::kFrequency, Qt::Key_Period, Qt::KeypadModifier));
        QVERIFY(!passes(keys::kDecimal, Qt::Key_Period, Qt::NoModifier));
        QVERIFY(passes(keys::kDecimal, Qt::Key_Period, Qt::KeypadModifier));
        QVERIFY(passes(keys::kDecimal, Qt::Key_Comma, Qt::KeypadModifier));
        QVERIFY(!passes(keys::kHex, Qt::Key_Period, Qt::KeypadModifier));
        QVERIFY(passes(keys::kHex, Qt::Key_F, Qt::NoModifier));
        QVERIFY(!passes(keys::kHex, Qt::Key_G, Qt::NoModifier));
        QVERIFY(!passes(keys::kFrequency, Qt::Key_A, Qt::NoModifier));
        // Shift: the grid keeps the keypad and the editing keys (Shift+8 is '*'); the
        // dialogs take nothing with it.
        QVERIFY(!passes(keys::kFrequency, Qt::Key_8, Qt::ShiftModifier));
        QVERIFY(passes(keys::kFrequency, Qt::Key_Left, Qt::ShiftModifier));
        QVERIFY(passes(keys::kFrequency, Qt::Key_5, Qt::ShiftModifier | Qt::KeypadModifier));
        QVERIFY(!passes(keys::kDecimal, Qt::Key_Left, Qt::ShiftModifier));
        QVERIFY(!passes(keys::kHex, Qt::Key_A, Qt::ShiftModifier));
        for (int k : {Qt::Key_Minus, Qt::Key_Space, Qt::Key_Return, Qt::Key_Plus})
            QVERIFY(!passes(keys::kFrequency, k, Qt::NoModifier));
        QVERIFY(!passes(keys::kDecimal, Qt::Key_V, Qt::ControlModifier));
        QVERIFY(!passes(keys::kHex, Qt::Key_5, Qt::ControlModifier));
    }
};

QTEST_MAIN(ChannelRulesTest)
#include "ChannelRulesTest.moc"
