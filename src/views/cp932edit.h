#pragma once
// Edits that hold no more CP932 bytes than the text field they are stored
// in: typing, pasting, dropping and the input method are all kept within
// the limit, a double-byte character is never split, and whatever is
// refused sounds the beep.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

namespace ks318 {

// Bytes of `text` in CP932.
int cp932ByteCount(const QString& text);
// `text` cut to `maxBytes` bytes of CP932 without splitting a character.
QString cutToCp932Bytes(const QString& text, int maxBytes);

// A one-line edit.
class Cp932LineEdit : public QLineEdit {
public:
    explicit Cp932LineEdit(int maxBytes, QWidget* parent = nullptr);

    int maxBytes() const { return maxBytes_; }
    // The exclamation sound (QApplication::beep unless replaced).
    void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }
    // Sets the text, cut to the limit.
    void setLimitedText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    int roomLeft() const;
    void insertLimited(const QString& text);
    void beep() const;

    int maxBytes_;
    std::function<void()> beep_;
};

// A memo: several lines, stored with CR LF between them (two bytes each).
class Cp932MemoEdit : public QPlainTextEdit {
public:
    explicit Cp932MemoEdit(int maxBytes, QWidget* parent = nullptr);

    int maxBytes() const { return maxBytes_; }
    void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }

    // The text as stored, lines joined by CR LF.
    QString storedText() const;
    // Shows a stored text (CR LF or LF between lines), cut to the limit.
    void setStoredText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int roomLeft() const;
    void insertLimited(const QString& text);
    void beep() const;

    int maxBytes_;
    std::function<void()> beep_;
};

} // namespace ks318
