#include "cp932edit.h"

#include "records/cp932.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace ks318 {

int cp932ByteCount(const QString& text)
{
    return static_cast<int>(toCp932(text).size());
}

QString cutToCp932Bytes(const QString& text, int maxBytes)
{
    if (maxBytes <= 0)
        return QString();
    const std::string bytes = toCp932(text);
    return fromCp932(cp932Cut(bytes, std::size_t(maxBytes)));
}

namespace {

bool isTyping(const QKeyEvent* event)
{
    const QString typed = event->text();
    return !typed.isEmpty() && typed.at(0).isPrint();
}

// Memo texts: LF between lines on screen, CR LF when stored.
QString toStored(const QString& lines)
{
    QString out = lines;
    return out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

QString fromStored(const QString& stored)
{
    QString out = stored;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

int memoBytes(const QString& lines)
{
    return cp932ByteCount(toStored(lines));
}

QString cutMemo(const QString& lines, int maxBytes)
{
    QString stored = cutToCp932Bytes(toStored(lines), maxBytes);
    if (stored.endsWith(QLatin1Char('\r')))
        stored.chop(1);  // a line break is never split either
    return fromStored(stored);
}

} // namespace

Cp932LineEdit::Cp932LineEdit(int maxBytes, QWidget* parent)
    : QLineEdit(parent), maxBytes_(maxBytes), beep_([] { QApplication::beep(); })
{
    // Anything else that slips in (a drop, the context menu's paste) is cut at the end.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (cp932ByteCount(text) > maxBytes_) {
            setText(cutToCp932Bytes(text, maxBytes_));
            beep();
        }
    });
}

void Cp932LineEdit::setLimitedText(const QString& text)
{
    setText(cutToCp932Bytes(text, maxBytes_));
}

void Cp932LineEdit::beep() const
{
    if (beep_)
        beep_();
}

void Cp932LineEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Backspace || key == Qt::Key_Return || key == Qt::Key_Enter) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        insertLimited(QGuiApplication::clipboard()->text());
        return;
    }
    if (isTyping(event) && roomLeft() < cp932ByteCount(event->text())) {
        beep();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void Cp932LineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    const QString fitted = cutToCp932Bytes(commit, roomLeft());
    if (fitted.size() == commit.size()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    beep();
    QInputMethodEvent limited(event->preeditString(), event->attributes());
    limited.setCommitString(fitted, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&limited);
}

int Cp932LineEdit::roomLeft() const
{
    QString rest = text();
    if (hasSelectedText())
        rest.remove(selectionStart(), selectedText().size());
    return maxBytes_ - cp932ByteCount(rest);
}

void Cp932LineEdit::insertLimited(const QString& text)
{
    const QString fitted = cutToCp932Bytes(text, roomLeft());
    if (fitted.size() != text.size())
        beep();
    insert(fitted);
}

Cp932MemoEdit::Cp932MemoEdit(int maxBytes, QWidget* parent)
    : QPlainTextEdit(parent), maxBytes_(maxBytes), beep_([] { QApplication::beep(); })
{
    setTabChangesFocus(true);
    // Undo and whatever else slips in is cut at the end.
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        const QString lines = toPlainText();
        if (memoBytes(lines) <= maxBytes_)
            return;
        setPlainText(cutMemo(lines, maxBytes_));
        moveCursor(QTextCursor::End);
        beep();
    });
}

QString Cp932MemoEdit::storedText() const
{
    return toStored(toPlainText());
}

void Cp932MemoEdit::setStoredText(const QString& text)
{
    setPlainText(cutMemo(fromStored(text), maxBytes_));
}

void Cp932MemoEdit::beep() const
{
    if (beep_)
        beep_();
}

void Cp932MemoEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool lineBreak = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || (!lineBreak && !isTyping(event))) {
        QPlainTextEdit::keyPressEvent(event);  // pasting goes through insertFromMimeData
        return;
    }
    const int needed = lineBreak ? 2 : cp932ByteCount(event->text());
    if (roomLeft() < needed) {
        beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void Cp932MemoEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = fromStored(event->commitString());
    const QString fitted = cutMemo(commit, roomLeft());
    if (fitted.size() == commit.size()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    beep();
    QInputMethodEvent limited(event->preeditString(), event->attributes());
    limited.setCommitString(fitted, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&limited);
}

bool Cp932MemoEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void Cp932MemoEdit::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText())
        insertLimited(source->text());
}

int Cp932MemoEdit::roomLeft() const
{
    const QTextCursor cursor = textCursor();
    QString rest = toPlainText();
    rest.remove(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
    return maxBytes_ - memoBytes(rest);
}

void Cp932MemoEdit::insertLimited(const QString& text)
{
    const QString lines = fromStored(text);
    const QString fitted = cutMemo(lines, roomLeft());
    if (fitted.size() != lines.size())
        beep();
    textCursor().insertText(fitted);
}

} // namespace ks318
