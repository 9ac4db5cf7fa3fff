#pragma once
// The drawing surface under UtilityService: a small set of pen, brush, font,
// line, ellipse, rectangle and text operations with the semantics of a
// Windows-style canvas (the right and bottom edges of boxes and the last
// point of a line are not drawn; text is placed by its top-left corner on an
// opaque background). PainterCanvas serves it with a QPainter on an image or
// on a printer or PDF page; tests log the calls instead.
#include <QString>
#include <cstdint>

class QPainter;

namespace ks318 {

// Colours as Windows colour values 0x00BBGGRR.
using Colour = std::uint32_t;

enum class BrushStyle { None, Solid, DiagCross };

struct FontSpec {
    QString family;
    int pointSize = 0;   // 0: pixelSize is used
    int pixelSize = 0;
    bool bold = false;
    bool fixedPitch = false;
    bool operator==(const FontSpec& o) const
    {
        return family == o.family && pointSize == o.pointSize && pixelSize == o.pixelSize && bold == o.bold
               && fixedPitch == o.fixedPitch;
    }
};

class Canvas {
public:
    virtual ~Canvas();
    // Pen for lines and outlines; xor selects the exclusive-or pen mode.
    virtual void setPen(Colour colour, int width, bool xorMode) = 0;
    virtual void setBrush(Colour colour, BrushStyle style) = 0;
    virtual void setFont(const FontSpec& font) = 0;
    virtual FontSpec font() const = 0;
    // From (x1, y1) towards (x2, y2), the end point excluded.
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // Ellipse inside the box (x1, y1)-(x2, y2), outlined with the pen and
    // filled with the brush.
    virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
    // Rectangle (x1, y1)-(x2, y2), right and bottom edges excluded.
    virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
    // Text with its top-left corner at (x, y) on a box of `background`.
    virtual void textOut(int x, int y, const QString& text, Colour colour, Colour background) = 0;
    virtual int textWidth(const QString& text) = 0;
    // Height of a line of text in the current font, in pixels at fontDpi().
    virtual int textHeight(const QString& text) = 0;
    // Vertical resolution of the device and the resolution the font is
    // measured at, both in pixels per inch.
    virtual int verticalDpi() const = 0;
    virtual int fontDpi() const = 0;
};

// Red, green and blue of a Windows colour value.
inline int redOf(Colour c) { return int(c & 0xff); }
inline int greenOf(Colour c) { return int((c >> 8) & 0xff); }
inline int blueOf(Colour c) { return int((c >> 16) & 0xff); }

// A canvas over a QPainter that is active on an image (the screen picture)
// or on a printer or PDF page. Exclusive-or works on an image only; on other
// devices it draws as copy. Nothing is anti-aliased, so the pixels are where
// the coordinates say.
class PainterCanvas : public Canvas {
public:
    explicit PainterCanvas(QPainter& painter);

    void setPen(Colour colour, int width, bool xorMode) override;
    void setBrush(Colour colour, BrushStyle style) override;
    void setFont(const FontSpec& font) override;
    FontSpec font() const override { return font_; }
    void line(int x1, int y1, int x2, int y2) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void rectangle(int x1, int y1, int x2, int y2) override;
    void textOut(int x, int y, const QString& text, Colour colour, Colour background) override;
    int textWidth(const QString& text) override;
    int textHeight(const QString& text) override;
    int verticalDpi() const override;
    int fontDpi() const override;

private:
    void applyPen();
    void applyBrush();

    QPainter& painter_;
    bool xorCapable_ = false;
    Colour penColour_ = 0;
    int penWidth_ = 1;
    bool xor_ = false;
    Colour brushColour_ = 0xFFFFFF;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    FontSpec font_;
};

} // namespace ks318
