#include "filemergeform.h"

#include "records/filemerge.h"
#include "session/openrecording.h"
#include "session/session.h"
#include "records/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ks318 {

namespace {

constexpr int kPathRole = Qt::UserRole;

QLabel* label(const char* name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// The folder list as a folder tree shows it: every folder from the root down
// to `dir`, indented by depth, then the subfolders of `dir`.
QList<QPair<QString, QString>> folderEntries(const QString& dir)
{
    QList<QPair<QString, QString>> entries;  // caption, full path
    QStringList chain;
    QDir d(dir);
    for (;;) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
        entries.append({QString(depth * 2, QLatin1Char(' ')) + name, path});
        ++depth;
    }
    const QDir current(dir);
    for (const QString& sub : current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        entries.append({QString(depth * 2, QLatin1Char(' ')) + sub, current.absoluteFilePath(sub)});
    return entries;
}

QStringList dataFiles(const QString& dir)
{
    // The "*.dat" mask matches either case of the extension.
    return QDir(dir).entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

} // namespace

TFileMergeForm::TFileMergeForm(MessageSink* messages, QWidget* parent) : QDialog(parent), messages_(messages)
{
    setObjectName(QStringLiteral("FileMergeForm"));
    setWindowTitle(tr("ファイル結合"));

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DirectoryListBox1 = new QListWidget(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    FilterComboBox1 = new QComboBox(this);
    FilterComboBox1->setObjectName(QStringLiteral("FilterComboBox1"));
    FilterComboBox1->addItem(QStringLiteral("BP data file (*.dat)"), QStringLiteral("*.dat"));
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    Label1 = label("Label1", tr("結合データリスト"), this);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::NoSelection);
    ListBox1->setAcceptDrops(true);
    ListBox1->viewport()->setAcceptDrops(true);

    Label4 = label("Label4", tr("ファイルをドラッグして"), this);
    Label5 = label("Label5", tr("結合データリストに"), this);
    Label6 = label("Label6", tr("入れて下さい。"), this);
    Label7 = label("Label7", tr("ファイル内容"), this);
    Memo1 = new QPlainTextEdit(QStringLiteral("note"), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);

    GroupBox1 = new QGroupBox(tr("データタイプの選択"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    KS318RadioButton = new QRadioButton(QStringLiteral("KS318P"), GroupBox1);
    KS318RadioButton->setObjectName(QStringLiteral("KS318RadioButton"));
    RV6830RadioButton = new QRadioButton(QStringLiteral("RV6830/31"), GroupBox1);
    RV6830RadioButton->setObjectName(QStringLiteral("RV6830RadioButton"));
    RV6821RadioButton = new QRadioButton(QStringLiteral("RV6821"), GroupBox1);
    RV6821RadioButton->setObjectName(QStringLiteral("RV6821RadioButton"));
    auto* types = new QVBoxLayout(GroupBox1);
    types->addWidget(KS318RadioButton);
    types->addWidget(RV6830RadioButton);
    types->addWidget(RV6821RadioButton);

    OKButton1 = new QPushButton(QStringLiteral("&OK"), this);
    OKButton1->setObjectName(QStringLiteral("OKButton1"));
    OKButton1->setAutoDefault(false);
    CancelButton2 = new QPushButton(tr("取消し(&C)"), this);
    CancelButton2->setObjectName(QStringLiteral("CancelButton2"));
    CancelButton2->setAutoDefault(false);
    UpDateButton = new QPushButton(QStringLiteral("update"), this);
    UpDateButton->setObjectName(QStringLiteral("UpDateButton"));
    UpDateButton->hide();

    auto* grid = new QGridLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(DriveComboBox1);
    left->addWidget(DirectoryListBox1, 1);
    left->addWidget(FilterComboBox1);
    grid->addLayout(left, 0, 0, 3, 1);
    grid->addWidget(FileListBox1, 0, 1, 3, 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(Label1);
    middle->addWidget(ListBox1, 1);
    middle->addWidget(Label4);
    middle->addWidget(Label5);
    middle->addWidget(Label6);
    grid->addLayout(middle, 0, 2, 3, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(Label7);
    right->addWidget(Memo1, 1);
    right->addWidget(GroupBox1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton1);
    buttons->addWidget(CancelButton2);
    buttons->addWidget(UpDateButton);
    right->addLayout(buttons);
    grid->addLayout(right, 0, 3, 3, 1);
    resize(760, 320);

    connect(OKButton1, &QPushButton::clicked, this, &TFileMergeForm::OKButton1Click);
    connect(CancelButton2, &QPushButton::clicked, this, &TFileMergeForm::CancelButton2Click);
    connect(UpDateButton, &QPushButton::clicked, this, &TFileMergeForm::UpDateButtonClick);
    connect(KS318RadioButton, &QRadioButton::clicked, this, &TFileMergeForm::KS318RadioButtonClick);
    connect(RV6830RadioButton, &QRadioButton::clicked, this, &TFileMergeForm::RV6830RadioButtonClick);
    connect(RV6821RadioButton, &QRadioButton::clicked, this, &TFileMergeForm::RV6821RadioButtonClick);
    connect(DriveComboBox1, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { setDirectory(DriveComboBox1->itemData(index).toString()); });
    connect(DirectoryListBox1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setDirectory(item->data(kPathRole).toString()); });

    FileListBox1->viewport()->installEventFilter(this);
    ListBox1->viewport()->installEventFilter(this);

    // Only KS-318P files are merged: the data type is fixed and its group hidden.
    KS318RadioButton->setChecked(true);
    GroupBox1->setEnabled(false);
    GroupBox1->hide();

    fillDrives();
    setDirectory(QDir::currentPath());
}

void TFileMergeForm::fillDrives()
{
    DriveComboBox1->clear();
    QStringList roots;
    for (const QFileInfo& drive : QDir::drives())
        roots << drive.absoluteFilePath();
    roots << QDir::homePath();
    roots.removeDuplicates();
    for (const QString& root : roots)
        DriveComboBox1->addItem(QDir::toNativeSeparators(root), root);
}

void TFileMergeForm::setDirectory(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return;
    directory_ = info.absoluteFilePath();
    // The drive list shows the root the folder lies under (the longest match).
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < DriveComboBox1->count(); ++i) {
        const QString root = DriveComboBox1->itemData(i).toString();
        const bool under = directory_ == root || directory_.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
        if (under && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        DriveComboBox1->setCurrentIndex(best);
    shownFolders_.clear();
    shownFiles_.clear();
    UpDateButtonClick();
}

void TFileMergeForm::UpDateButtonClick()
{
    const QList<QPair<QString, QString>> folders = folderEntries(directory_);
    QStringList folderPaths;
    for (const auto& f : folders)
        folderPaths << f.second;
    if (folderPaths != shownFolders_) {
        shownFolders_ = folderPaths;
        DirectoryListBox1->clear();
        for (const auto& f : folders) {
            auto* item = new QListWidgetItem(f.first, DirectoryListBox1);
            item->setData(kPathRole, f.second);
            if (f.second == directory_)
                DirectoryListBox1->setCurrentItem(item);
        }
    }
    const QStringList files = dataFiles(directory_);
    if (files != shownFiles_) {
        shownFiles_ = files;
        FileListBox1->clear();
        for (const QString& name : files) {
            auto* item = new QListWidgetItem(name, FileListBox1);
            item->setData(kPathRole, QDir(directory_).absoluteFilePath(name));
        }
    }
}

bool TFileMergeForm::FileListBox1MouseDown(int row)
{
    Memo1->clear();
    dragArmed_ = false;
    QListWidgetItem* item = row >= 0 ? FileListBox1->item(row) : nullptr;
    if (!item)
        return false;
    draggedPath = item->data(kPathRole).toString();
    const FileSpan span = readFileSpan(draggedPath);
    Memo1->setPlainText(spanMemoText(span));
    dragArmed_ = span.isKs318();
    return dragArmed_;
}

bool TFileMergeForm::FileListBox1DragOver(const QMimeData* data) const
{
    return data && data->hasFormat(QString::fromLatin1(kDragFormat));
}

void TFileMergeForm::FileListBox1DragDrop(QWidget* target)
{
    if (target == FileListBox1 || target == FileListBox1->viewport())
        return;
    if (mergeCount >= kMaxMergeFiles)
        return;
    if (draggedPath.isEmpty() || mergePaths.contains(draggedPath))
        return;
    ListBox1->addItem(QFileInfo(draggedPath).fileName());
    mergePaths.append(draggedPath);
    ++mergeCount;
}

void TFileMergeForm::ListBox1MouseDown(int row)
{
    if (row < 0 || row >= mergeCount)
        return;
    mergePaths.removeAt(row);
    --mergeCount;
    delete ListBox1->takeItem(row);
}

void TFileMergeForm::emptyMergeList()
{
    mergeCount = 0;
    mergePaths.clear();
    orderedPaths.clear();
    ListBox1->clear();
}

void TFileMergeForm::OKButton1Click()
{
    if (mergeCount < kMinMergeFiles)
        return;
    // The save dialog starts at the file pressed last, as the current file.
    const QString output = chooseSave_ ? chooseSave_(draggedPath) : QString();
    if (!output.isEmpty()) {
        orderedPaths.clear();
        // An input is refused as File > Open would refuse it; nothing is
        // written for the inputs.
        const auto acceptInput = [this](const QString& path) {
            Session scratch;
            OpenOptions options;
            options.writeNothing = true;
            return openRecording(scratch, path, messages_, options).opened;
        };
        switch (mergeRecordings(mergePaths, output, messages_, &orderedPaths, acceptInput)) {
        case MergeResult::Refused:
        case MergeResult::Overlap:
        case MergeResult::Unreadable:
        case MergeResult::NotKs318:
        case MergeResult::WrongCount:
            // The list stays for correction.
            return;
        case MergeResult::Merged:
        case MergeResult::Exists:
        case MergeResult::CannotCreate:
            break;
        }
    }
    emptyMergeList();
    accept();
}

void TFileMergeForm::CancelButton2Click()
{
    emptyMergeList();
    reject();
}

void TFileMergeForm::KS318RadioButtonClick()
{
    emptyMergeList();
}

void TFileMergeForm::RV6830RadioButtonClick()
{
    emptyMergeList();
}

void TFileMergeForm::RV6821RadioButtonClick()
{
    emptyMergeList();
}

void TFileMergeForm::startDrag()
{
    dragArmed_ = false;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kDragFormat), draggedPath.toUtf8());
    auto* drag = new QDrag(FileListBox1);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
}

bool TFileMergeForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FileListBox1->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton) {
                const QModelIndex index = FileListBox1->indexAt(e->position().toPoint());
                if (index.isValid())
                    FileListBox1->setCurrentRow(index.row());
                pressPos_ = e->position().toPoint();
                FileListBox1MouseDown(index.isValid() ? index.row() : -1);
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (dragArmed_ && (e->buttons() & Qt::LeftButton)
                && (e->position().toPoint() - pressPos_).manhattanLength() >= kDragDistance) {
                startDrag();
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            dragArmed_ = false;
            break;
        default:
            break;
        }
    } else if (watched == ListBox1->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* e = static_cast<QDropEvent*>(event);
            if (FileListBox1DragOver(e->mimeData()))
                e->acceptProposedAction();
            else
                e->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            if (FileListBox1DragOver(e->mimeData())) {
                FileListBox1DragDrop(ListBox1);
                e->acceptProposedAction();
            } else {
                e->ignore();
            }
            return true;
        }
        case QEvent::MouseButtonPress: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton) {
                const QModelIndex index = ListBox1->indexAt(e->position().toPoint());
                if (index.isValid())
                    ListBox1MouseDown(index.row());
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFileMergeForm::paintEvent(QPaintEvent* event)
{
    // A file written since the lists were read shows up.
    UpDateButtonClick();
    QDialog::paintEvent(event);
}

void TFileMergeForm::showEvent(QShowEvent* event)
{
    UpDateButtonClick();
    QDialog::showEvent(event);
}

} // namespace ks318
