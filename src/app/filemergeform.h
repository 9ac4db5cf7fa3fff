#pragma once
// The file merge dialog: files are dragged from a folder's file list into the
// merge list (at most six, each once); OK asks for the output name and joins
// them in time order, refusing spans that overlap or touch.
#include <QDialog>
#include <QPoint>
#include <QStringList>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QMimeData;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace ks318 {

struct MessageSink;

class TFileMergeForm : public QDialog {
    Q_OBJECT
public:
    // The drag of a file list entry carries this format (the path as UTF-8);
    // the merge list takes nothing else.
    static constexpr const char* kDragFormat = "application/x-ks318-merge-file";
    static constexpr int kDragDistance = 5;  // pixels the mouse moves before a drag starts

    // Runs the main window's save dialog preset with a path; empty when cancelled.
    using SaveChooser = std::function<QString(const QString& preset)>;

    explicit TFileMergeForm(MessageSink* messages, QWidget* parent = nullptr);

    void setSaveChooser(SaveChooser chooser) { chooseSave_ = std::move(chooser); }

    // The folder shown by the folder and file lists.
    void setDirectory(const QString& path);
    QString directory() const { return directory_; }

    // Handlers, named after their controls.
    void UpDateButtonClick();                  // re-reads the folder and file lists
    bool FileListBox1MouseDown(int row);       // true when the entry may be dragged
    bool FileListBox1DragOver(const QMimeData* data) const;
    void FileListBox1DragDrop(QWidget* target);
    void ListBox1MouseDown(int row);
    void OKButton1Click();
    void CancelButton2Click();
    void KS318RadioButtonClick();
    void RV6830RadioButtonClick();
    void RV6821RadioButtonClick();

    // State of the merge list; kept between showings until OK, Cancel or a
    // change of data type empties it.
    int mergeCount = 0;
    QStringList mergePaths;     // full paths, in drop order
    QString draggedPath;        // the file list entry pressed last
    QStringList orderedPaths;   // the merge list in time order (set by OK)

    QComboBox* DriveComboBox1;
    QListWidget* DirectoryListBox1;
    QComboBox* FilterComboBox1;
    QListWidget* FileListBox1;
    QLabel* Label1;
    QListWidget* ListBox1;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QPlainTextEdit* Memo1;
    QGroupBox* GroupBox1;
    QRadioButton* KS318RadioButton;
    QRadioButton* RV6830RadioButton;
    QRadioButton* RV6821RadioButton;
    QPushButton* OKButton1;
    QPushButton* CancelButton2;
    QPushButton* UpDateButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void emptyMergeList();
    void fillDrives();
    void startDrag();

    MessageSink* messages_;
    SaveChooser chooseSave_;
    QString directory_;
    QStringList shownFolders_;  // what the lists show, to re-read only on a change
    QStringList shownFiles_;
    bool dragArmed_ = false;
    QPoint pressPos_;
};

} // namespace ks318
