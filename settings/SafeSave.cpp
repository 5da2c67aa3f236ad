#include "settings/SafeSave.h"

#include <QDir>
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

FileFailure failure(const QString& path, int error) { return FileFailure{path, error}; }

constexpr const char* kNewInfix = ".new-";

// The file a save replaces: a symbolic link's target, else the path itself.
QString targetOf(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

// A new, empty file beside `target`, opened for writing; mode 0666 so the umask applies
// as to any new file.
int createBeside(const QByteArray& targetName, QByteArray& tempName)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = targetName + kNewInfix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The reasons a player may meet, in both languages; the system's own words for the rest.
struct Reason {
    int error;
    const char* german;
    const char* english;
};
const Reason kReasons[] = {
    {EACCES, "Keine Berechtigung", "Permission denied"},
    {EPERM, "Die Operation ist nicht erlaubt", "Operation not permitted"},
    {EROFS, "Das Dateisystem ist nur lesbar", "Read-only file system"},
    {ENOSPC, "Auf dem Gerät ist kein Speicherplatz mehr verfügbar", "No space left on device"},
    {EDQUOT, "Der zugeteilte Speicherplatz ist erschöpft", "Disk quota exceeded"},
    {EIO, "Ein- oder Ausgabefehler", "Input/output error"},
    {ENOENT, "Datei oder Ordner nicht gefunden", "No such file or directory"},
    {ENOTDIR, "Ein Teil des Pfades ist kein Ordner", "Not a directory"},
    {EISDIR, "Ist ein Ordner", "Is a directory"},
    {EEXIST, "Die Datei existiert bereits", "File exists"},
    {EXDEV, "Verweis auf ein anderes Dateisystem", "Invalid cross-device link"},
    {ENAMETOOLONG, "Der Dateiname ist zu lang", "File name too long"},
    {ELOOP, "Zu viele symbolische Verknüpfungen", "Too many levels of symbolic links"},
};

} // namespace

QString ErrorReason(int error, bool german)
{
    for (const Reason& r : kReasons)
        if (r.error == error)
            return QString::fromUtf8(german ? r.german : r.english);
    return QString::fromLocal8Bit(std::strerror(error));
}

QString FileFailure::Describe(bool german) const
{
    return QStringLiteral("%1: %2").arg(path, ErrorReason(error, german));
}

const FileCalls& SystemFileCalls()
{
    static const FileCalls calls{::write, ::fsync, ::close, ::rename};
    return calls;
}

FileFailure SafeSave(const QString& path, const QByteArray& bytes, const FileCalls& calls)
{
    const QString target = targetOf(path);
    const QByteArray targetName = QFile::encodeName(target);

    struct stat old {};
    const bool existed = ::stat(targetName.constData(), &old) == 0;

    QByteArray tempName;
    const int fd = createBeside(targetName, tempName);
    if (fd < 0)
        return failure(target, errno);

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

FileFailure KeepCopy(const QString& path, const QString& copy)
{
    const QByteArray from = QFile::encodeName(targetOf(path));
    const QString copyTarget = targetOf(copy);
    const QByteArray to = QFile::encodeName(copyTarget);
    // A second name for the file, put in place of the old copy by a rename.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray tempName = to + kNewInfix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        if (::link(from.constData(), tempName.constData()) == 0) {
            if (::rename(tempName.constData(), to.constData()) == 0)
                return {};
            const int error = errno;
            ::unlink(tempName.constData());
            return failure(copyTarget, error);
        }
        if (errno != EEXIST)
            break;
    }
    // No hard links here (or across file systems): the bytes themselves.
    QFile original(QFile::decodeName(from));
    if (!original.open(QFile::ReadOnly))
        return failure(QFile::decodeName(from), EACCES);
    const QByteArray bytes = original.readAll();
    if (original.error() != QFile::NoError)
        return failure(QFile::decodeName(from), EIO);
    return SafeSave(copy, bytes);
}

void RemoveLeftovers(const QString& path)
{
    const QFileInfo target(targetOf(path));
    QDir folder = target.absoluteDir();
    const QString prefix = target.fileName() + QLatin1String(kNewInfix);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.startsWith(prefix))
            folder.remove(name);
}

} // namespace torvella::settings
