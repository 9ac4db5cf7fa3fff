#include "clinicalpage.h"

#include "plots/clinicalprofile.h"
#include "session/clinicallines.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace ks318 {

// The profile at the size the page gives it, redrawn on every paint.
class ClinicalProfileView : public QWidget {
public:
    explicit ClinicalProfileView(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("ClinicalProfile"));
        setMinimumSize(300, 220);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    void setMeasures(const ClinicalMeasures& m)
    {
        measures_ = m;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, renderClinicalProfile(measures_, size()));
    }

private:
    ClinicalMeasures measures_;
};

namespace {

constexpr int kRows = 14;
// From this width on the profile stands beside the texts.
constexpr int kSideBySideWidth = 900;

} // namespace

QLabel* ClinicalPage::named(const QString& name, Qt::Alignment align)
{
    auto* l = new QLabel(inner_);
    l->setObjectName(name);
    l->setAlignment(align | Qt::AlignVCenter);
    labels_.insert(name, l);
    return l;
}

ClinicalPage::ClinicalPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ClinicalPage"));
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ClinicalScrollArea"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll_);
    inner_ = new QWidget;
    QWidget* inner = inner_;
    scroll_->setWidget(inner);

    auto* column = new QVBoxLayout(inner);
    QLabel* title = named(QStringLiteral("ClinicalTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    title->setText(clinicalTitle());
    rows_ << QList<QLabel*>{title};
    column->addWidget(title);
    auto* heading = new QHBoxLayout;
    QList<QLabel*> headingRow{named(QStringLiteral("ClinicalFileName")), named(QStringLiteral("ClinicalBpMethod"))};
    for (QLabel* l : headingRow)
        heading->addWidget(l);
    heading->addStretch();
    rows_ << headingRow;
    column->addLayout(heading);
    body_ = new QBoxLayout(QBoxLayout::TopToBottom);
    body_->setSpacing(16);
    auto* texts = new QVBoxLayout;
    body_->addLayout(texts);
    column->addLayout(body_, 1);

    // The table, the flags, the adequacy lines and the sources, and the
    // profile under them, or beside them in a wide window; a narrow window
    // only scrolls down.
    auto* table = new QGridLayout;
    table->setHorizontalSpacing(12);
    table->setVerticalSpacing(2);
    QList<QLabel*> heads;
    const QStringList headTexts = clinicalColumnHeads();
    for (int c = 0; c < kClinicalColumns; ++c) {
        QLabel* head = named(QStringLiteral("ClinicalHead%1").arg(c), Qt::AlignRight);
        head->setText(headTexts[c]);
        table->addWidget(head, 0, c + 1);
        heads << head;
    }
    rows_ << heads;
    for (int r = 0; r < kRows; ++r) {
        QList<QLabel*> row{named(QStringLiteral("ClinicalCaption%1").arg(r))};
        table->addWidget(row.front(), r + 1, 0);
        for (int c = 0; c < kClinicalColumns; ++c) {
            QLabel* cell = named(QStringLiteral("ClinicalCell%1_%2").arg(r).arg(c), Qt::AlignRight);
            cell->setMinimumWidth(44);
            table->addWidget(cell, r + 1, c + 1);
            row << cell;
        }
        rows_ << row;
    }
    table->setColumnStretch(kClinicalColumns + 1, 1);
    texts->addLayout(table);
    texts->addSpacing(6);

    for (int i = 0; i < 6; ++i) {
        QLabel* flag = named(QStringLiteral("ClinicalFlag%1").arg(i));
        flag->setWordWrap(true);
        texts->addWidget(flag);
        rows_ << QList<QLabel*>{flag};
    }
    texts->addSpacing(6);
    for (int i = 0; i < 3; ++i) {
        QLabel* line = named(QStringLiteral("ClinicalAdequacy%1").arg(i));
        line->setWordWrap(true);
        texts->addWidget(line);
        rows_ << QList<QLabel*>{line};
    }
    QLabel* sources = named(QStringLiteral("ClinicalSources"));
    sources->setWordWrap(true);
    texts->addWidget(sources);
    texts->addStretch();
    rows_ << QList<QLabel*>{sources};
    profile_ = new ClinicalProfileView(inner);
    body_->addWidget(profile_, 1);
}

void ClinicalPage::resizeEvent(QResizeEvent* event)
{
    body_->setDirection(width() >= kSideBySideWidth ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    QWidget::resizeEvent(event);
}

QSize ClinicalPage::sizeHint() const
{
    return QSize(100, 100);
}

QSize ClinicalPage::minimumSizeHint() const
{
    return QSize(50, 50);
}

void ClinicalPage::showMeasures(const ClinicalMeasures& m, const QString& heading, const QString& mode)
{
    label(QStringLiteral("ClinicalFileName"))->setText(heading);
    label(QStringLiteral("ClinicalBpMethod"))->setText(mode);
    const std::vector<ClinicalRow> rows = clinicalTableRows(m);
    for (int r = 0; r < kRows && r < int(rows.size()); ++r) {
        label(QStringLiteral("ClinicalCaption%1").arg(r))->setText(rows[std::size_t(r)].caption);
        for (int c = 0; c < kClinicalColumns; ++c)
            label(QStringLiteral("ClinicalCell%1_%2").arg(r).arg(c))->setText(rows[std::size_t(r)].cells[c]);
    }
    const QStringList flags = clinicalFlagLines(m);
    for (int i = 0; i < 6; ++i)
        label(QStringLiteral("ClinicalFlag%1").arg(i))->setText(flags.value(i));
    const QStringList adequacy = clinicalAdequacyLines(m);
    for (int i = 0; i < 3; ++i) {
        QLabel* l = label(QStringLiteral("ClinicalAdequacy%1").arg(i));
        l->setText(adequacy.value(i));
        l->setVisible(i < adequacy.size());
    }
    label(QStringLiteral("ClinicalSources"))->setText(clinicalSourcesLine());
    profile_->setMeasures(m);
}

QStringList ClinicalPage::texts() const
{
    QStringList out;
    for (const QList<QLabel*>& row : rows_) {
        QStringList cells;
        for (const QLabel* l : row)
            if (!l->isHidden() && !l->text().isEmpty())
                cells << l->text();
        if (!cells.isEmpty())
            out << cells.join(QStringLiteral(" | "));
    }
    return out;
}

} // namespace ks318
