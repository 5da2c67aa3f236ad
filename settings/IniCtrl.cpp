#include "settings/IniCtrl.h"

#include "settings/Decimal.h"
#include "settings/SafeSave.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvella::settings {

namespace {

const QString kRootSection = QStringLiteral("#ROOT");
const QString kFirstSection = QStringLiteral("Common");

// A store bigger than this is no settings file the game wrote or a player typed: it is
// not read, so that no read keeps the game (and its answer to a quit signal) waiting.
constexpr int64_t kLargestStore = 16 << 20;

// How long a write waits for a lock that another copy of the game holds: a write takes
// milliseconds, so a lock held for seconds is stuck.
constexpr int kLockWaitMs = 2000;
// A lock file is filled in the moment it is made; one still empty or unreadable after
// this long has lost its maker.
constexpr qint64 kLockFillMs = 1000;

StoreError setFailed(const QString& name, StoreText why = {})
{
    return StoreError({QStringLiteral("Fehler beim Setzen der Daten für '%1'").arg(name),
                       QStringLiteral("The value '%1' could not be stored").arg(name)},
                      std::move(why));
}

StoreText describe(const FileFailure& f) { return {f.Describe(true), f.Describe(false)}; }

// access() says yes to a superuser whatever the mode; a store whose owner took away
// every write bit is meant to stay as it is, so the bits count as well.
bool hasWriteAccess(const QFileInfo& info)
{
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isWritable() && (info.permissions() & anyWrite);
}

IniSection sectionOf(const QString& resolved)
{
    return resolved == kRootSection ? IniSection() : IniSection(resolved);
}

int64_t nanoseconds(const timespec& t) { return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec; }

FileStamp stampOf(const struct stat& st)
{
    return {uint64_t(st.st_dev), uint64_t(st.st_ino), int64_t(st.st_size), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
}

// The clock the kernel takes file times from, so "earlier than now" means an earlier tick.
int64_t fileClockNow()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return nanoseconds(now);
}

bool processRuns(qint64 pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

// Takes the store's lock: at once when it is free or its owner is gone, else within
// kLockWaitMs, else throws, naming the program that holds it when there is one.
void takeLock(QLockFile& lock, const QString& lockPath, const QString& valueName)
{
    QDeadlineTimer deadline(kLockWaitMs);
    for (;;) {
        if (lock.tryLock(0))
            return;
        if (lock.error() != QLockFile::LockFailedError)
            throw setFailed(valueName, describe({lockPath, lock.error() == QLockFile::PermissionError ? EACCES : EIO}));
        qint64 pid = 0;
        QString host, program;
        const bool readable = lock.getLockInfo(&pid, &host, &program);
        const bool here = readable && host == QSysInfo::machineHostName();
        bool ownerGone = here && !processRuns(pid);
        if (!readable) {
            const QDateTime made = QFileInfo(lockPath).lastModified();
            ownerGone = made.isValid() && made.msecsTo(QDateTime::currentDateTime()) >= kLockFillMs;
        }
        if (ownerGone && (lock.removeStaleLockFile() || !QFileInfo::exists(lockPath)))
            continue;
        if (deadline.hasExpired()) {
            const QString file = QFileInfo(lockPath).fileName();
            if (here && processRuns(pid)) {
                const QString process = QString::number(pid);
                throw setFailed(valueName,
                                program.isEmpty()
                                    ? StoreText{QStringLiteral("%1: wird von einem anderen Programm benutzt (Prozess %2)").arg(lockPath, process),
                                                QStringLiteral("%1: in use by another program (process %2)").arg(lockPath, process)}
                                    : StoreText{QStringLiteral("%1: wird von einem anderen Programm benutzt (%2, Prozess %3)").arg(lockPath, program, process),
                                                QStringLiteral("%1: in use by another program (%2, process %3)").arg(lockPath, program, process)});
            }
            if (readable && !here)
                throw setFailed(valueName, {QStringLiteral("%1: von einem Programm auf dem Rechner %2 gesperrt").arg(lockPath, host),
                                            QStringLiteral("%1: locked by a program on the computer %2").arg(lockPath, host)});
            throw setFailed(valueName, {QStringLiteral("%1: gesperrt (%2)").arg(lockPath, file),
                                        QStringLiteral("%1: locked (%2)").arg(lockPath, file)});
        }
        QThread::msleep(20);
    }
}

} // namespace

StoreError::StoreError(StoreText what, StoreText why)
    : std::runtime_error(what.german.toStdString()), what_(std::move(what)), why_(std::move(why))
{
}

QString StoreError::Message(bool german) const
{
    const QString why = Detail(german);
    return why.isEmpty() ? what_.In(german) : what_.In(german) + QLatin1Char('\n') + why;
}

IniCtrl::IniCtrl()
    : IniCtrl(DefaultFilePath())
{
}

IniCtrl::IniCtrl(const QString& filePath)
    : path_(QFileInfo(filePath).absoluteFilePath())
{
}

QString IniCtrl::DefaultFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // relative paths in XDG variables are invalid and to be ignored
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/Quorlix/Torvella/V1.ini"));
}

QString IniCtrl::FilePath() const
{
    return path_;
}

QString IniCtrl::UnreadableCopyPath(const QString& storePath)
{
    return storePath + QStringLiteral(".unreadable");
}

void IniCtrl::SetProblemHandler(ProblemHandler handler)
{
    problemHandler_ = std::move(handler);
}

void IniCtrl::noteProblems(const IniFile& file)
{
    if (problemsTold_ || !problemHandler_ || file.Problems().isEmpty())
        return;
    problemsTold_ = true;
    problemHandler_(path_, file.Problems());
}

QString IniCtrl::resolveSection(const QString& section)
{
    if (section.trimmed().isEmpty())
        return lastSection_.isEmpty() ? (lastSection_ = kFirstSection) : lastSection_;
    lastSection_ = section;
    return section;
}

const IniCtrl::Loaded* IniCtrl::load(int* error)
{
    auto fail = [&](int e) -> const Loaded* {
        loaded_.reset();
        if (error)
            *error = e;
        return nullptr;
    };
    const QByteArray name = QFile::encodeName(path_);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return fail(errno);
    if (!S_ISREG(st.st_mode))
        return fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (loaded_ && loaded_->trusted && loaded_->stamp == stampOf(st))
        return &*loaded_;

    const int64_t readAt = fileClockNow();
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    QFile file;
    // the stamp of what is read, not of what the name meant a moment before
    if (::fstat(fd, &st) != 0 || !file.open(fd, QFile::ReadOnly, QFile::AutoCloseHandle)) {
        const int e = errno;
        ::close(fd);
        return fail(e);
    }
    Loaded l;
    l.stamp = stampOf(st);
    l.trusted = l.stamp.changed < readAt && l.stamp.modified < readAt;
    ++fileReads_;
    if (l.stamp.size > kLargestStore) {
        l.file = IniFile::Parse(QByteArray(1, '\0')); // read as no text
    } else {
        l.bytes = file.readAll();
        if (file.error() != QFile::NoError)
            return fail(EIO);
        l.file = IniFile::Parse(l.bytes);
    }
    loaded_ = std::move(l);
    return &*loaded_;
}

IniFile::Value IniCtrl::readValue(const QString& section, const QString& name)
{
    const QString sec = resolveSection(section);
    if (name.isEmpty())
        return {};
    const Loaded* l = load();
    if (!l)
        return {};
    noteProblems(l->file);
    return l->file.Get(sectionOf(sec), name);
}

void IniCtrl::Write(const QString& section, const std::vector<IniChange>& changes)
{
    if (changes.empty())
        return;
    const QString firstName = changes.front().name;
    const bool onlyRemovals =
        std::all_of(changes.begin(), changes.end(), [](const IniChange& c) { return !c.value.has_value(); });
    if (onlyRemovals) {
        // Removing what is not there is no error, and makes no file or folder.
        // (readValue also takes care of the section mapping.)
        bool present = false;
        for (const IniChange& c : changes)
            present = readValue(section, c.name).state != IniFile::State::Missing || present;
        if (!present)
            return;
    }
    const QString sec = resolveSection(section);
    for (const IniChange& c : changes)
        if (c.name.isEmpty()) // a value needs a name
            throw setFailed(c.name);

    const QFileInfo file(path_);
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw StoreError({QStringLiteral("Erzeugung von Schlüssel %1 misslungen").arg(sec),
                          QStringLiteral("The settings section %1 could not be made").arg(sec)},
                         {QStringLiteral("%1: kann nicht angelegt werden").arg(folder),
                          QStringLiteral("%1: cannot be made").arg(folder)});
    // The new file replaces the old one through a new file beside it.
    if (file.exists() && (!file.isFile() || !hasWriteAccess(file)))
        throw setFailed(firstName, describe({path_, file.isFile() ? EACCES : EISDIR}));
    if (!hasWriteAccess(QFileInfo(folder)))
        throw setFailed(firstName, describe({folder, EACCES}));

    // Writers of this store take turns.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    takeLock(lock, path_ + QStringLiteral(".lock"), firstName);
    // Only a save killed before its rename leaves its new file; no other save runs now.
    RemoveLeftovers(path_);
    RemoveLeftovers(UnreadableCopyPath(path_));

    // Merge into the file as it is on disk now.
    int error = 0;
    const Loaded* current = load(&error);
    if (!current && error != ENOENT)
        throw setFailed(firstName, describe({path_, error}));
    IniFile ini = current ? current->file : IniFile::Parse({});
    noteProblems(ini);
    for (const IniChange& c : changes) {
        if (c.value)
            ini.Set(sectionOf(sec), c.name, *c.value);
        else
            ini.Remove(sectionOf(sec), c.name);
    }
    const QByteArray updated = ini.Serialize();
    if (current && updated == current->bytes)
        return;
    if (current && ini.DropsUnreadableLines()) {
        if (const FileFailure f = KeepCopy(path_, UnreadableCopyPath(path_)))
            throw setFailed(firstName, describe(f));
    }
    loaded_.reset();
    if (const FileFailure f = SafeSave(path_, updated))
        throw setFailed(firstName, describe(f));
}

bool IniCtrl::ReadBool(const QString& section, const QString& name, bool def)
{
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

int32_t IniCtrl::ReadInteger(const QString& section, const QString& name, int32_t def)
{
    const IniFile::Value v = readValue(section, name);
    if (v.state != IniFile::State::Text)
        return def;
    return ParseDecimal(v.text).value_or(def);
}

QString IniCtrl::ReadString(const QString& section, const QString& name, const QString& def)
{
    const IniFile::Value v = readValue(section, name);
    return v.state == IniFile::State::Text ? v.text : def;
}

void IniCtrl::WriteBool(const QString& section, const QString& name, bool value)
{
    Write(section, {{name, BoolText(value)}});
}

void IniCtrl::WriteInteger(const QString& section, const QString& name, int32_t value)
{
    Write(section, {{name, IntegerText(value)}});
}

void IniCtrl::WriteString(const QString& section, const QString& name, const QString& value)
{
    Write(section, {{name, value}});
}

void IniCtrl::DeleteValue(const QString& section, const QString& name)
{
    Write(section, {{name, std::nullopt}});
}

} // namespace torvella::settings
