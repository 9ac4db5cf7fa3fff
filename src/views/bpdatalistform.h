#pragma once
// The BP data list window: the readings of analysis window 1, one per row,
// where the user excludes readings, takes an exclusion back and writes
// comments. Saving stores both in the BP data file, from where every later
// analysis takes them. The window opens at the reading where the graph's view
// starts, and when the user leaves it the graph moves to the hour of the
// selected reading.
#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace ks318 {

class Session;
struct MessageSink;

// The row (1 = first reading of window 1) the list opens at for a graph
// scrolled to `scrollHours`; 0 when window 1 holds no reading.
int openingRowFor(const Session& session, int scrollHours);

class CommentDelegate;

class TBPDataListForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 5;
    static constexpr int kCommentLimit = 27;      // bytes of CP932 text
    static constexpr int kCannotWriteId = 220;    // "ファイルが開けません。"
    static constexpr int kColumnCount = 11;

    // `listFilled` and `activeView` are the main window's: a clear flag makes
    // the next paint fill the grid from the file; closing sets activeView 0.
    TBPDataListForm(Session& session, bool& listFilled, int& activeView, MessageSink* messages,
                    QWidget* parent = nullptr);

    void setHelpHandler(std::function<void(int)> handler) { helpHandler_ = std::move(handler); }
    // The exclamation sound; replaced by tests.
    void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }
    void beep() const;

    // Fills the grid when the list-filled flag is clear; otherwise nothing.
    void FormPaint();
    // A mouse button released over the cell (col, row) of the grid.
    void BPDataStringGridMouseUp(int col, int row);
    // A cell was selected: in-place editing only in the comment column.
    void BPDataStringGridSelectCell(int col, int row);
    // Stores marks and comments and rewrites the data file, then closes.
    // When the file cannot be rewritten, message 220 is shown, nothing is
    // written and the window stays open with the user's edits; false then.
    bool SaveButtonClick();
    void CloseButtonClick();
    void HelpButtonClick();
    // Moves the graph to the hour of the selected reading.
    void FormDeactivate();
    // Closing by any way (button, title bar, Esc) sets activeView 0 and
    // moves the graph as leaving the window does.
    void done(int result) override;

    // The grid as a string grid: row 0 is the header row, column 0 the row
    // number; rows 1.. are the readings of window 1.
    int rowCount() const;
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    int selectedRow() const;
    int topRow() const;
    void selectCell(int col, int row);
    int excludeColumn() const { return kColumnCount - 2; }
    int commentColumn() const { return kColumnCount - 1; }

    QTableWidget* BPDataStringGrid;
    QPushButton* SaveButton;
    QPushButton* CloseButton;
    QPushButton* HelpButton;
    QLabel* HeaderLabels[kColumnCount];  // hidden; the header row takes their texts

Q_SIGNALS:
    // The graph's scroll position was set; the graphics window repaints.
    void graphPositionChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Session& session_;
    bool& listFilled_;
    int& activeView_;
    MessageSink* messages_;
    std::function<void(int)> helpHandler_;
    std::function<void()> beep_;
    QString filledPath_;   // the data file the grid was filled from
    bool centred_ = false;
    CommentDelegate* commentDelegate_ = nullptr;
};

} // namespace ks318
