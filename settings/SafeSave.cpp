#include "settings/SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvella::settings {

namespace {

QString failure(const QString& path, int error)
{
    return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

const FileCalls& SystemFileCalls()
{
    static const FileCalls calls{::write, ::fsync, ::close, ::rename};
    return calls;
}

QString SafeSave(const QString& path, const QByteArray& bytes, const FileCalls& calls)
{
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray targetName = QFile::encodeName(target);

    struct stat old {};
    const bool existed = ::stat(targetName.constData(), &old) == 0;

    // A new name beside the target; mode 0666 so the umask applies as to any new file.
    QByteArray tempName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempName = targetName + ".new-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failure(target, errno);
    }
    if (fd < 0)
        return failure(target, EEXIST);

    auto fail = [&](int error, bool open) {
        if (open)
            calls.close(fd);
        ::unlink(tempName.constData());
        return failure(target, error);
    };
    if (existed)
        ::fchmod(fd, old.st_mode & 07777);

    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = calls.write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC, true);
        done += n;
    }
    // A file system that cannot sync (EINVAL) has the data in hand all the same.
    if (calls.fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
        return fail(errno, true);
    if (calls.close(fd) != 0)
        return fail(errno, false);
    if (calls.rename(tempName.constData(), targetName.constData()) != 0)
        return fail(errno, false);

    // The rename itself to the disk; the new content is in place whatever this says.
    const int dir = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

} // namespace torvella::settings
