#include "bpdatalistform.h"

#include "records/bpdatafile.h"
#include "records/cp932.h"
#include "records/daycount.h"
#include "records/filenames.h"
#include "records/messages.h"
#include "session/session.h"
#include "records/shortdate.h"
#include "cp932edit.h"
#include "windowplacement.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace ks318 {

namespace {

const int kColumnWidths[TBPDataListForm::kColumnCount] = {34, 80, 44, 36, 37, 37, 37, 36, 63, 45, 276};
const char* const kHeaders[TBPDataListForm::kColumnCount] = {
    "#",
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "月日"),
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "時刻"),
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "最高"),
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "最低"),
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "平均"),
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "脈拍"),
    "DP",
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "状態"),
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "削除"),
    QT_TRANSLATE_NOOP("ks318::TBPDataListForm", "コメント")};
constexpr int kRowHeight = 18;
constexpr int kVisibleRows = 22;
constexpr int kMinuteRole = Qt::UserRole;  // column 0: the reading's date and hour, in minutes

// The in-place editor of the comment column: it never lets the text grow
// past the limit and sounds the window's beep when something is refused.
class CommentEdit : public Cp932LineEdit {
public:
    CommentEdit(QWidget* parent, const TBPDataListForm* form) : Cp932LineEdit(TBPDataListForm::kCommentLimit, parent)
    {
        setObjectName(QStringLiteral("CommentEdit"));
        setFrame(false);
        setBeep([form] { form->beep(); });
    }
};

} // namespace

class CommentDelegate : public QStyledItemDelegate {
public:
    CommentDelegate(TBPDataListForm* form) : QStyledItemDelegate(form), form_(form) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return new CommentEdit(parent, form_);
    }

    // Hands the editor's text to the grid and closes it.
    void finish(QWidget* editor)
    {
        Q_EMIT commitData(editor);
        Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

private:
    const TBPDataListForm* form_;
};

namespace {

QTableWidgetItem* cellItem(const QString& text, bool editable)
{
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

} // namespace

int openingRowFor(const Session& session, int scrollHours)
{
    const SessionData* d = session.data();
    if (!d || d->readingCount() == 0)
        return 0;
    const SessionState::Window& w = session.state.window1;
    const std::int64_t target = std::int64_t(std::max(0, w.dayOffset)) * 1440
                                + std::int64_t(std::max(0, w.hour) + scrollHours) * 60;
    const std::uint32_t count = std::min<std::uint32_t>(d->readingCount(), kMaxReadings);
    const std::int64_t firstDay = dayNumber(int(d->readings[0].year), d->readings[0].month, d->readings[0].day);
    int row = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const BpReading& r = d->readings[i];
        if (r.windowMembership == OutsideWindows)
            continue;
        ++row;
        // The running day count of the readings; the minutes are not counted.
        const std::int64_t minute = (dayNumber(int(r.year), r.month, r.day) - firstDay) * 1440 + r.hour * 60;
        if (minute >= target)
            break;
    }
    return row;
}

TBPDataListForm::TBPDataListForm(Session& session, bool& listFilled, int& activeView, MessageSink* messages,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      session_(session),
      listFilled_(listFilled),
      activeView_(activeView),
      messages_(messages),
      beep_([] { QApplication::beep(); })
{
    setObjectName(QStringLiteral("BPDataListForm"));
    setWindowTitle(tr("血圧データ"));
    setModal(false);

    for (int c = 0; c < kColumnCount; ++c) {
        HeaderLabels[c] = new QLabel(tr(kHeaders[c]), this);
        HeaderLabels[c]->setObjectName(QStringLiteral("HeaderLabel%1").arg(c));
        HeaderLabels[c]->hide();
    }

    BPDataStringGrid = new QTableWidget(0, kColumnCount, this);
    BPDataStringGrid->setObjectName(QStringLiteral("BPDataStringGrid"));
    QStringList headers;
    for (QLabel* l : HeaderLabels)
        headers << l->text();
    BPDataStringGrid->setHorizontalHeaderLabels(headers);
    BPDataStringGrid->verticalHeader()->hide();
    BPDataStringGrid->verticalHeader()->setMinimumSectionSize(kRowHeight);
    BPDataStringGrid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    BPDataStringGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    BPDataStringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    BPDataStringGrid->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    BPDataStringGrid->horizontalHeader()->setSectionsClickable(false);
    BPDataStringGrid->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < kColumnCount; ++c)
        BPDataStringGrid->setColumnWidth(c, kColumnWidths[c]);
    BPDataStringGrid->setShowGrid(true);
    BPDataStringGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    BPDataStringGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    BPDataStringGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    BPDataStringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    BPDataStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BPDataStringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    commentDelegate_ = new CommentDelegate(this);
    BPDataStringGrid->setItemDelegateForColumn(commentColumn(), commentDelegate_);
    BPDataStringGrid->viewport()->installEventFilter(this);
    int width = 2 * BPDataStringGrid->frameWidth() + BPDataStringGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int w : kColumnWidths)
        width += w;
    BPDataStringGrid->setFixedSize(width, BPDataStringGrid->horizontalHeader()->height() + kVisibleRows * kRowHeight
                                              + 2 * BPDataStringGrid->frameWidth());
    connect(BPDataStringGrid, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) { BPDataStringGridSelectCell(col, row + 1); });

    SaveButton = new QPushButton(tr("保存(&S)"), this);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    CloseButton = new QPushButton(tr("閉じる(&C)"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    HelpButton = new QPushButton(tr("ヘルプ(&H)"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    for (QPushButton* b : {SaveButton, CloseButton, HelpButton})
        b->setAutoDefault(false);
    connect(SaveButton, &QPushButton::clicked, this, [this] { SaveButtonClick(); });
    connect(CloseButton, &QPushButton::clicked, this, &TBPDataListForm::CloseButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TBPDataListForm::HelpButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CloseButton);
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BPDataStringGrid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TBPDataListForm::beep() const
{
    if (beep_)
        beep_();
}

int TBPDataListForm::rowCount() const
{
    return BPDataStringGrid->rowCount() + 1;
}

QString TBPDataListForm::cell(int col, int row) const
{
    if (row == 0)
        return col >= 0 && col < kColumnCount ? HeaderLabels[col]->text() : QString();
    const QTableWidgetItem* item = BPDataStringGrid->item(row - 1, col);
    return item ? item->text() : QString();
}

void TBPDataListForm::setCell(int col, int row, const QString& text)
{
    if (row < 1)
        return;
    if (QTableWidgetItem* item = BPDataStringGrid->item(row - 1, col))
        item->setText(text);
}

int TBPDataListForm::selectedRow() const
{
    return BPDataStringGrid->currentRow() + 1;
}

int TBPDataListForm::topRow() const
{
    const int row = BPDataStringGrid->rowAt(0);
    return row < 0 ? 0 : row + 1;
}

void TBPDataListForm::selectCell(int col, int row)
{
    if (row >= 1 && row < rowCount())
        BPDataStringGrid->setCurrentCell(row - 1, col);
}

void TBPDataListForm::showEvent(QShowEvent* event)
{
    FormPaint();
    if (!centred_) {
        centred_ = true;
        adjustSize();
        centreOnScreen(this);
    }
    QDialog::showEvent(event);
}

void TBPDataListForm::paintEvent(QPaintEvent* event)
{
    FormPaint();
    QDialog::paintEvent(event);
}

void TBPDataListForm::FormPaint()
{
    if (listFilled_)
        return;
    listFilled_ = true;

    SessionState& st = session_.state;
    filledPath_ = st.currentFilePath;
    SessionData* d = session_.allocateData();
    const bool loaded = d && !filledPath_.isEmpty() && readBpDataFile(session_, filledPath_, st.bpMode);

    BPDataStringGrid->clearContents();
    const int rows = loaded ? int(d->counters.inWindow1) : 0;
    BPDataStringGrid->setRowCount(rows);
    if (!loaded)
        return;

    const QColor fixedColour = palette().color(QPalette::Button);
    int row = 0;
    const std::uint32_t count = std::min<std::uint32_t>(d->readingCount(), kMaxReadings);
    for (std::uint32_t i = 0; i < count && row < rows; ++i) {
        const BpReading& r = d->readings[i];
        if (r.windowMembership == OutsideWindows)
            continue;
        char status[24];
        std::snprintf(status, sizeof status, "%2s %s %2s", r.methodText.str().c_str(), r.eFlagText.str().c_str(),
                      r.errorText.str().c_str());
        const QString texts[kColumnCount] = {
            QString::number(row + 1),
            formatShortDate(QDate(int(r.year), r.month, r.day)),
            QString::asprintf("%02d:%02d", r.hour, r.minute),
            r.sysText.toQString(),
            r.diaText.toQString(),
            r.mapText.toQString(),
            r.pulseText.toQString(),
            r.dpText.toQString(),
            QString::fromLatin1(status),
            r.excludedText.toQString(),
            displayComment(r),
        };
        for (int c = 0; c < kColumnCount; ++c) {
            QTableWidgetItem* item = cellItem(texts[c], c == commentColumn());
            if (c == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixedColour);
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                item->setData(kMinuteRole, qlonglong(minuteNumber(int(r.year), r.month, r.day, r.hour, 0)));
            } else if (c >= 3 && c <= 7) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            } else if (c == excludeColumn()) {
                item->setTextAlignment(Qt::AlignCenter);
            }
            BPDataStringGrid->setItem(row, c, item);
        }
        ++row;
    }

    const int opening = openingRowFor(session_, session_.graphView.scrollHours);
    if (opening >= 1) {
        BPDataStringGrid->setCurrentCell(opening - 1, 1);
        BPDataStringGrid->scrollToItem(BPDataStringGrid->item(opening - 1, 1), QAbstractItemView::PositionAtTop);
    }
}

bool TBPDataListForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == BPDataStringGrid->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = BPDataStringGrid->indexAt(mouse->position().toPoint());
        if (index.isValid())
            BPDataStringGridMouseUp(index.column(), index.row() + 1);
    }
    return QDialog::eventFilter(watched, event);
}

void TBPDataListForm::BPDataStringGridMouseUp(int col, int row)
{
    if (row < 1 || row >= rowCount() || col != excludeColumn())
        return;
    const QString mark = cell(col, row);
    if (mark == QLatin1String("x"))
        return;  // an error reading cannot be excluded
    setCell(col, row, mark == QLatin1String("X") ? QStringLiteral("-") : QStringLiteral("X"));
}

void TBPDataListForm::BPDataStringGridSelectCell(int col, int /*row*/)
{
    BPDataStringGrid->setEditTriggers(col == commentColumn()
                                          ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                                                | QAbstractItemView::EditKeyPressed
                                                | QAbstractItemView::AnyKeyPressed
                                          : QAbstractItemView::NoEditTriggers);
}

bool TBPDataListForm::SaveButtonClick()
{
    // A comment still being typed goes into the grid first.
    if (auto* editor = BPDataStringGrid->findChild<QLineEdit*>(); editor && editor->isVisible())
        commentDelegate_->finish(editor);

    // The marks and comments go onto the file as it is now: it is read
    // afresh, so a block another window filled meanwhile does not matter. A
    // file that no longer matches the grid, or one that is not the recording
    // the rewrite would replace, is refused like one that cannot be written.
    SessionState& st = session_.state;
    SessionData* d = session_.allocateData();
    const int rows = rowCount() - 1;
    bool ok = d && !filledPath_.isEmpty() && readBpDataFile(session_, filledPath_, st.bpMode)
              && int(d->counters.inWindow1) == rows
              && QFileInfo(resolveMemberPath(st.preparedFilePath, QStringLiteral(".DAT"))).absoluteFilePath()
                     == QFileInfo(resolveMemberPath(filledPath_, QStringLiteral(".DAT"))).absoluteFilePath();
    if (ok) {
        int row = 1;
        const std::uint32_t count = std::min<std::uint32_t>(d->readingCount(), kMaxReadings);
        for (std::uint32_t i = 0; i < count && row <= rows; ++i) {
            BpReading& r = d->readings[i];
            if (r.windowMembership == OutsideWindows)
                continue;
            const bool excluded = cell(excludeColumn(), row) == QLatin1String("X");
            r.excluded = excluded ? 1 : 0;
            if (r.errorCode == 0)
                r.excludedText = excluded ? "X" : "-";
            r.comment.assign(cp932Cut(recordedComment(r, cell(commentColumn(), row)), kCommentLimit));
            ++row;
        }
        ok = rewriteBpDataFile(session_);
    }
    if (!ok) {
        showMessage(messages_, kCannotWriteId, kErrorCaptionId, MessageIcon::Exclamation);
        return false;
    }
    close();
    return true;
}

void TBPDataListForm::CloseButtonClick()
{
    close();
}

void TBPDataListForm::done(int result)
{
    // Closing the window, by its button, the title bar or Esc.
    activeView_ = 0;
    FormDeactivate();
    QDialog::done(result);
}

void TBPDataListForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
    QDialog::changeEvent(event);
}

void TBPDataListForm::HelpButtonClick()
{
    if (helpHandler_)
        helpHandler_(kHelpContext);
}

void TBPDataListForm::FormDeactivate()
{
    // With no reading in the list there is nothing to follow: the graph
    // stays where it is.
    const int row = selectedRow();
    const QTableWidgetItem* item = row >= 1 ? BPDataStringGrid->item(row - 1, 0) : nullptr;
    const SessionState::Window& w = session_.state.window1;
    if (!item || w.year < 0 || w.month < 0 || w.day < 0)
        return;
    const std::int64_t start = minuteNumber(w.year, w.month, w.day, std::max(0, w.hour), std::max(0, w.minute));
    const std::int64_t t = item->data(kMinuteRole).toLongLong();
    session_.graphView.scrollHours = t > start ? int((t - start) / 60) : 0;
    Q_EMIT graphPositionChanged();
}

} // namespace ks318
