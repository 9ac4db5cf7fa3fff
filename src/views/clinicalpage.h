#pragma once
// The summary window's clinical measures page, "臨床指標": the measures in a
// fixed table, the dipping class and the guideline flags in words, the
// readings they rest on, and the 24-hour profile drawn through the drawing
// layer. The page only shows what it is given; the summary window fills the
// block and computes the measures when it paints.
#include "analysis/clinicalmeasures.h"

#include <QHash>
#include <QWidget>

class QBoxLayout;
class QLabel;
class QScrollArea;

namespace ks318 {

class ClinicalProfileView;

class ClinicalPage : public QWidget {
    Q_OBJECT
public:
    explicit ClinicalPage(QWidget* parent = nullptr);

    // `heading` is the file and patient line of the other pages, `mode` the
    // BP mode line.
    void showMeasures(const ClinicalMeasures& m, const QString& heading, const QString& mode);

    // A label of the page by its name ("ClinicalCell0_1", "ClinicalFlag2",
    // ...), null when there is none.
    QLabel* label(const QString& name) const { return labels_.value(name, nullptr); }
    // Every text of the page, top to bottom, the cells of a row joined by
    // " | ".
    QStringList texts() const;

    // The page takes the room the window's other pages give it and scrolls
    // when that is too little, so it never changes the window's size.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The scrolled area that holds the page's contents.
    QScrollArea* scrollArea() const { return scroll_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* named(const QString& name, Qt::Alignment align = Qt::AlignLeft);

    QHash<QString, QLabel*> labels_;
    QList<QList<QLabel*>> rows_;   // in the order texts() reads them
    QScrollArea* scroll_;
    QWidget* inner_;
    QBoxLayout* body_;
    ClinicalProfileView* profile_;
};

} // namespace ks318
