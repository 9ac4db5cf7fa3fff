#pragma once
// Writing a file so that it is there whole or not at all. The bytes go to a
// temporary file beside it and are flushed to the disk; the temporary file
// then takes the file's name in one step. A failure at any step removes the
// temporary file and leaves what was there before untouched.
#include <QByteArray>
#include <QString>
#include <optional>

namespace ks318 {

// The steps of a write, in order.
enum class WriteStep { Open, Write, Flush, Rename };

class AtomicFile {
public:
    enum class Mode {
        Replace,    // an existing file is replaced
        CreateNew,  // the name must be free when the file takes it; nothing is replaced
    };

    explicit AtomicFile(const QString& path, Mode mode = Mode::Replace);
    ~AtomicFile();  // a file not committed is given up
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. False when the directory cannot take it.
    bool open();
    // Appends bytes; false (and the write given up) when they cannot be written.
    bool write(const char* bytes, qsizetype size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Flushes the bytes to the disk and gives the file its name.
    bool commit();
    // Removes the temporary file; the file's name is left as it was.
    void cancel();

    // After a failed commit in CreateNew mode: the name was taken.
    bool nameTaken() const { return nameTaken_; }
    // The step that failed, when one did.
    std::optional<WriteStep> failedStep() const { return failed_; }

private:
    bool fail(WriteStep step);

    QString path_;
    Mode mode_;
    QByteArray tempName_;
    int fd_ = -1;
    bool nameTaken_ = false;
    std::optional<WriteStep> failed_;
};

// Writes `bytes` to `path`, replacing what is there. False on any failure.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);
// Writes `bytes` to `path`, which must not exist; `nameTaken` (when given)
// tells whether it failed because it did.
bool writeNewFileAtomically(const QString& path, const QByteArray& bytes, bool* nameTaken = nullptr);

// For tests: every write from now on fails at `step`, until called again
// with no step.
void setWriteFault(std::optional<WriteStep> step);

} // namespace ks318
