#include "records/LineFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <utility>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvella::records {

QList<QByteArray> CompleteLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype nl = bytes.indexOf('\n'); nl >= 0; nl = bytes.indexOf('\n', start)) {
        lines << bytes.mid(start, nl - start);
        start = nl + 1;
    }
    return lines;
}

LineFile::~LineFile() { Close(); }

void LineFile::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    held_ = false;
    end_ = -1;
}

void LineFile::Swap(LineFile& other) noexcept
{
    std::swap(fd_, other.fd_);
    std::swap(held_, other.held_);
    std::swap(end_, other.end_);
    std::swap(path_, other.path_);
}

QString LineFile::Failure(int error) const
{
    return QStringLiteral("%1: %2").arg(path_, QString::fromLocal8Bit(std::strerror(error)));
}

QString LineFile::Open(const QString& path)
{
    Close();
    path_ = path;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return Failure(errno ? errno : EACCES);
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    return fd_ < 0 ? Failure(errno) : QString();
}

bool LineFile::Create(const QString& path, QString& error)
{
    Close();
    path_ = path;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = Failure(errno ? errno : EACCES);
        return false;
    }
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST)
        error = Failure(errno);
    return fd_ >= 0;
}

bool LineFile::TryHold()
{
    if (fd_ < 0)
        return false;
    held_ = held_ || ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    return held_;
}

QByteArray LineFile::ReadAll() const
{
    QByteArray all;
    if (fd_ < 0)
        return all;
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd_, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return all;
        all.append(buffer, n);
        at += n;
    }
}

// Writes `bytes` at `at` and ends the file after them; on failure the file ends at `at`
// (whatever stood from there on was an unfinished line or is being replaced).
QString LineFile::WriteAt(qint64 at, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd_, bytes.constData() + done, size_t(bytes.size() - done), off_t(at + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            if (::ftruncate(fd_, at) == 0)
                end_ = held_ ? at : -1;
            return Failure(error);
        }
        done += n;
    }
    if (::ftruncate(fd_, at + bytes.size()) != 0)
        return Failure(errno);
    end_ = held_ ? at + bytes.size() : -1;
    // A file system that cannot sync has the data in hand all the same.
    if (::fdatasync(fd_) != 0 && errno != EINVAL && errno != ENOTSUP)
        return Failure(errno);
    return {};
}

QString LineFile::Append(const QByteArray& lines)
{
    if (fd_ < 0)
        return Failure(EBADF);
    // Another copy of the game may append to the same file at the same time.
    const bool lockHere = !held_;
    if (lockHere)
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {}
    // Only a file held by this process alone can keep its length in mind.
    const qint64 end = end_ >= 0 ? end_ : ReadAll().lastIndexOf('\n') + 1;
    const QString error = WriteAt(end, lines);
    if (lockHere)
        ::flock(fd_, LOCK_UN);
    return error;
}

QString LineFile::Replace(const QByteArray& lines)
{
    if (fd_ < 0)
        return Failure(EBADF);
    return WriteAt(0, lines);
}

} // namespace torvella::records
