#pragma once
// A canvas that passes every call on to a real one (whose font metrics it
// uses) and keeps the box of every text and every long straight line, per
// sheet, so that a test can check a page's layout: no text outside its page,
// no two texts on each other, no text across an axis line. Pairs that touch
// by design are named in an allowance list with their reason.
#include "plots/canvas.h"

#include <QLine>
#include <algorithm>
#include <cstdlib>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace ks318::test {

struct DrawnText {
    int sheet;
    QRect box;      // the ink: leading and trailing blanks left out
    QString text;
};

struct DrawnLine {
    int sheet;
    QRect box;      // the pixels the line covers
};

// Two texts (by regular expression, in either order; "<line>" stands for
// an axis line, "<box>" for a filled box) allowed to overlap by at most `rows` rows of pixels (0: by
// any amount) on the pages whose name matches `page`; `reason` says why.
struct LayoutAllowance {
    const char* page;
    const char* first;
    const char* second;
    int rows;
    const char* reason;
};

class LayoutProbe : public Canvas {
public:
    // `sheet` tells which sheet a call lands on (0 for a one-page picture).
    explicit LayoutProbe(Canvas& inner, std::function<int()> sheet = {}) : inner_(inner), sheet_(std::move(sheet)) {}

    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;
    std::vector<DrawnLine> marks;   // circles: points and legend samples
    std::vector<DrawnLine> areas;   // filled boxes: zones, bars, swatches, cleared pages

    void setPen(Colour colour, int width, bool xorMode) override
    {
        penWidth_ = width;
        inner_.setPen(colour, width, xorMode);
    }
    void setBrush(Colour colour, BrushStyle style) override
    {
        brush_ = style;
        inner_.setBrush(colour, style);
    }
    void setFont(const FontSpec& font) override { inner_.setFont(font); }
    FontSpec font() const override { return inner_.font(); }
    void line(int x1, int y1, int x2, int y2) override
    {
        keepLine(x1, y1, x2, y2);
        inner_.line(x1, y1, x2, y2);
    }
    void ellipse(int x1, int y1, int x2, int y2) override
    {
        marks.push_back({sheet(), QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                                        QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1))});
        inner_.ellipse(x1, y1, x2, y2);
    }
    void rectangle(int x1, int y1, int x2, int y2) override
    {
        // An outline without fill is four lines (a frame, the notes box).
        if (brush_ != BrushStyle::None)
            areas.push_back({sheet(), QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                                            QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1))});
        if (brush_ == BrushStyle::None) {
            keepLine(x1, y1, x2, y1);
            keepLine(x1, y2 - 1, x2, y2 - 1);
            keepLine(x1, y1, x1, y2);
            keepLine(x2 - 1, y1, x2 - 1, y2);
        }
        inner_.rectangle(x1, y1, x2, y2);
    }
    void textOut(int x, int y, const QString& text, Colour colour, Colour background) override
    {
        static const QRegularExpression leading(QStringLiteral("^\\s*"));
        const QString ink = text.trimmed();
        if (!ink.isEmpty()) {
            const int lead = inner_.textWidth(leading.match(text).captured(0));
            texts.push_back({sheet(), QRect(x + lead, y, inner_.textWidth(ink), inner_.textHeight(ink)), ink});
        }
        inner_.textOut(x, y, text, colour, background);
    }
    int textWidth(const QString& text) override { return inner_.textWidth(text); }
    int textHeight(const QString& text) override { return inner_.textHeight(text); }
    int verticalDpi() const override { return inner_.verticalDpi(); }
    int fontDpi() const override { return inner_.fontDpi(); }

    // What is wrong with the layout on `page` (the page's rectangle, the
    // printable area in device pixels), one line per fault. Texts matching
    // `clearOfMarks` must not be touched by any circle either.
    QStringList faults(const QString& pageName, const QRect& page, const std::vector<LayoutAllowance>& allowed,
                       const QString& clearOfMarks = QString()) const
    {
        QStringList out;
        const QRegularExpression markFree(clearOfMarks);
        auto allowedPair = [&](const QString& a, const QString& b, const QRect& overlap) {
            for (const LayoutAllowance& al : allowed) {
                if (!QRegularExpression(QString::fromUtf8(al.page)).match(pageName).hasMatch())
                    continue;
                if (al.rows > 0 && overlap.height() > al.rows)
                    continue;
                const QRegularExpression f(QString::fromUtf8(al.first));
                const QRegularExpression s(QString::fromUtf8(al.second));
                if ((f.match(a).hasMatch() && s.match(b).hasMatch()) || (f.match(b).hasMatch() && s.match(a).hasMatch()))
                    return true;
            }
            return false;
        };
        auto where = [](const DrawnText& t) {
            return QStringLiteral("'%1' (sheet %2, %3,%4 %5x%6)")
                .arg(t.text)
                .arg(t.sheet)
                .arg(t.box.x())
                .arg(t.box.y())
                .arg(t.box.width())
                .arg(t.box.height());
        };
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const DrawnText& a = texts[i];
            if (!page.contains(a.box))
                out << QStringLiteral("%1 leaves the page %2x%3").arg(where(a)).arg(page.width()).arg(page.height());
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                const DrawnText& b = texts[j];
                // A text drawn again where it stood (an axis redrawn over
                // the points) is no collision.
                const bool redrawn = a.box == b.box && a.text == b.text;
                if (a.sheet == b.sheet && !redrawn && a.box.intersects(b.box)
                    && !allowedPair(a.text, b.text, a.box & b.box))
                    out << QStringLiteral("%1 overlaps %2").arg(where(a), where(b));
            }
            if (!clearOfMarks.isEmpty() && markFree.match(a.text).hasMatch())
                for (const DrawnLine& k : marks)
                    if (k.sheet == a.sheet && a.box.intersects(k.box))
                        out << QStringLiteral("%1 touches the circle at %2,%3")
                                   .arg(where(a))
                                   .arg(k.box.center().x())
                                   .arg(k.box.center().y());
            // A text stands wholly inside a filled box (a label in its bar,
            // anything on a cleared page) or wholly outside it (beside a
            // zone), never half over its edge.
            for (const DrawnLine& k : areas)
                if (k.sheet == a.sheet && a.box.intersects(k.box) && !k.box.contains(a.box)
                    && !allowedPair(a.text, QStringLiteral("<box>"), a.box & k.box))
                    out << QStringLiteral("%1 straddles the edge of the box %2,%3 %4x%5")
                               .arg(where(a))
                               .arg(k.box.x())
                               .arg(k.box.y())
                               .arg(k.box.width())
                               .arg(k.box.height());
            for (const DrawnLine& l : lines) {
                if (l.sheet == a.sheet && a.box.intersects(l.box)
                    && !allowedPair(a.text, QStringLiteral("<line>"), a.box & l.box))
                    out << QStringLiteral("%1 lies on the line %2,%3 %4x%5")
                               .arg(where(a))
                               .arg(l.box.x())
                               .arg(l.box.y())
                               .arg(l.box.width())
                               .arg(l.box.height());
            }
        }
        return out;
    }

private:
    int sheet() const { return sheet_ ? sheet_() : 0; }

    // Axis lines, frames and separators: straight and longer than two text
    // rows (ticks and the dots of the grids are left out, and so are the
    // vertical bars of the trend, the one line drawn 2 pixels wide).
    void keepLine(int x1, int y1, int x2, int y2)
    {
        if ((x1 != x2 && y1 != y2) || penWidth_ > 8)
            return;
        if (penWidth_ == 2 && x1 == x2)
            return;
        const int length = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
        if (length < 2 * inner_.textHeight(QStringLiteral("Gg")))
            return;
        const int w = std::max(1, penWidth_);
        const QRect box = x1 == x2 ? QRect(x1 - (w - 1) / 2, std::min(y1, y2), w, length)
                                   : QRect(std::min(x1, x2), y1 - (w - 1) / 2, length, w);
        lines.push_back({sheet(), box});
    }

    Canvas& inner_;
    std::function<int()> sheet_;
    int penWidth_ = 1;
    BrushStyle brush_ = BrushStyle::Solid;
};

} // namespace ks318::test
