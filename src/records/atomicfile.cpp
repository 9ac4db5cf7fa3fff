#include "atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ks318 {

namespace {

// -1: no fault; otherwise the WriteStep that fails.
std::atomic<int> g_fault{-1};

bool faultAt(WriteStep step)
{
    return g_fault.load() == int(step);
}

// The mode a new file gets: what the user's umask leaves of rw-rw-rw-.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Gives `from` the name `to` only when no file has that name: atomically
// where the file system can, else by a hard link, else (file systems with
// neither, such as FAT) after a last look.
int renameNoReplace(const char* from, const char* to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
#endif
    if (::link(from, to) == 0) {
        ::unlink(from);
        return 0;
    }
    if (errno == EEXIST)
        return -1;
    struct stat st;
    if (::lstat(to, &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from, to);
}

} // namespace

AtomicFile::AtomicFile(const QString& path, Mode mode) : path_(path), mode_(mode) {}

AtomicFile::~AtomicFile()
{
    cancel();
}

bool AtomicFile::fail(WriteStep step)
{
    if (!failed_)
        failed_ = step;
    cancel();
    return false;
}

bool AtomicFile::open()
{
    cancel();
    failed_.reset();
    nameTaken_ = false;
    const QFileInfo info(path_);
    tempName_ = QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName() +
                                  QLatin1String(".XXXXXX"));
    if (faultAt(WriteStep::Open))
        return fail(WriteStep::Open);
    fd_ = ::mkostemp(tempName_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        tempName_.clear();
        return fail(WriteStep::Open);
    }
    // The file keeps the permissions of the one it replaces, or gets those of
    // any new file of the user.
    struct stat old;
    const QByteArray target = QFile::encodeName(path_);
    const mode_t mode =
        (mode_ == Mode::Replace && ::stat(target.constData(), &old) == 0) ? (old.st_mode & 07777) : newFileMode();
    ::fchmod(fd_, mode);
    return true;
}

bool AtomicFile::write(const char* bytes, qsizetype size)
{
    if (fd_ < 0)
        return false;
    if (faultAt(WriteStep::Write))
        return fail(WriteStep::Write);
    while (size > 0) {
        const ssize_t n = ::write(fd_, bytes, std::size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(WriteStep::Write);
        bytes += n;
        size -= n;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (fd_ < 0)
        return false;
    if (faultAt(WriteStep::Flush) || ::fsync(fd_) != 0)
        return fail(WriteStep::Flush);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return fail(WriteStep::Flush);
    if (faultAt(WriteStep::Rename))
        return fail(WriteStep::Rename);
    const QByteArray target = QFile::encodeName(path_);
    const int result = mode_ == Mode::Replace ? ::rename(tempName_.constData(), target.constData())
                                              : renameNoReplace(tempName_.constData(), target.constData());
    if (result != 0) {
        nameTaken_ = mode_ == Mode::CreateNew && errno == EEXIST;
        return fail(WriteStep::Rename);
    }
    tempName_.clear();
    return true;
}

void AtomicFile::cancel()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempName_.isEmpty()) {
        ::unlink(tempName_.constData());
        tempName_.clear();
    }
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    return file.open() && file.write(bytes) && file.commit();
}

bool writeNewFileAtomically(const QString& path, const QByteArray& bytes, bool* nameTaken)
{
    AtomicFile file(path, AtomicFile::Mode::CreateNew);
    const bool ok = file.open() && file.write(bytes) && file.commit();
    if (nameTaken)
        *nameTaken = file.nameTaken();
    return ok;
}

void setWriteFault(std::optional<WriteStep> step)
{
    g_fault.store(step ? int(*step) : -1);
}

} // namespace ks318
