#include "settings/IniCtrl.h"

#include "settings/Decimal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QVariant>

#include <memory>

namespace torvella::settings {

namespace {

const QString kRootSection = QStringLiteral("#ROOT");
const QString kFirstSection = QStringLiteral("Common");

StoreError setFailed(const QString& name)
{
    return StoreError(QStringLiteral("Fehler beim Setzen der Daten für '%1'").arg(name));
}

// access() says yes to a superuser whatever the mode; a store whose owner took away
// every write bit is meant to stay as it is, so the bits count as well.
bool hasWriteAccess(const QFileInfo& info)
{
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isWritable() && (info.permissions() & anyWrite);
}

// QSettings keeps every file it has parsed in a process-wide cache. It trusts that
// copy while size and modification time (to the millisecond) look unchanged, forgets
// the parse errors it met, and keeps unsynced changes of a failed sync there for the
// next writer. So the store file is never handed to QSettings: each operation gives it
// a private copy under a name never used before, and a write puts the result back
// with QSaveFile.
class Snapshot {
public:
    // nullptr when no folder in `folders` takes the copy
    static std::unique_ptr<Snapshot> Of(const QByteArray& bytes, const QStringList& folders)
    {
        for (const QString& folder : folders) {
            auto snapshot = std::unique_ptr<Snapshot>(new Snapshot(folder));
            QTemporaryFile& f = snapshot->file_;
            if (f.open() && f.write(bytes) == bytes.size() && f.flush()) {
                f.close();
                snapshot->settings_.emplace(f.fileName(), QSettings::IniFormat);
                return snapshot;
            }
        }
        return nullptr;
    }

    QSettings& settings() { return *settings_; }

    // the copy as QSettings left it
    std::optional<QByteArray> Bytes() const
    {
        QFile f(file_.fileName());
        if (!f.open(QFile::ReadOnly))
            return std::nullopt;
        return f.readAll();
    }

private:
    explicit Snapshot(const QString& folder)
        : file_(folder + QStringLiteral("/.torvella-settings-XXXXXXXXXXXXXXXX.ini"))
    {
    }

    QTemporaryFile file_;               // removed when the snapshot goes
    std::optional<QSettings> settings_; // goes first
};

// Where the private copies go: the per-user runtime folder first (memory-backed on a
// desktop, so QSettings' flushes of the copy cost nothing), else the temporary folder.
QStringList snapshotFolders()
{
    QStringList folders;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        folders << runtime;
    folders << QDir::tempPath();
    return folders;
}

// Parses the whole file now: QSettings parses sections lazily and would only notice
// a broken one later, possibly while rewriting the file.
bool openedCleanly(QSettings& s)
{
    s.allKeys();
    return s.status() == QSettings::NoError;
}

// Enters the group of a section, matching existing group names without regard to
// case. Returns false when the section does not exist yet.
bool enterSection(QSettings& s, const QString& section)
{
    if (section == kRootSection)
        return true;
    bool exists = true;
    for (const QString& part : section.split(u'/', Qt::SkipEmptyParts)) {
        const QStringList groups = s.childGroups();
        QString group = part;
        if (!groups.contains(part)) {
            exists = false;
            for (const QString& g : groups) {
                if (g.compare(part, Qt::CaseInsensitive) == 0) {
                    group = g;
                    exists = true;
                    break;
                }
            }
        }
        s.beginGroup(group);
    }
    return exists;
}

// The stored keys of the current group that mean `name`; an exact match comes first.
QStringList matchingKeys(const QSettings& s, const QString& name)
{
    QStringList found;
    for (const QString& k : s.childKeys()) {
        if (k == name)
            found.prepend(k);
        else if (k.compare(name, Qt::CaseInsensitive) == 0)
            found.append(k);
    }
    return found;
}

} // namespace

StoreError::StoreError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

QString StoreError::Message() const
{
    return QString::fromUtf8(what());
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

QString IniCtrl::resolveSection(const QString& section)
{
    if (section.trimmed().isEmpty())
        return lastSection_.isEmpty() ? (lastSection_ = kFirstSection) : lastSection_;
    lastSection_ = section;
    return section;
}

std::optional<QString> IniCtrl::readText(const QString& section, const QString& name)
{
    const QString sec = resolveSection(section);
    QFile file(path_);
    if (name.isEmpty() || !QFileInfo(path_).isFile() || !file.open(QFile::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    file.close();

    std::unique_ptr<Snapshot> snapshot = Snapshot::Of(bytes, snapshotFolders());
    // Without a place for the copy, the file itself is parsed (and QSettings' cache trusted).
    std::optional<QSettings> direct;
    QSettings& s = snapshot ? snapshot->settings() : direct.emplace(path_, QSettings::IniFormat);
    // A store that cannot be read or is no INI text reads as empty.
    if (!openedCleanly(s) || !enterSection(s, sec))
        return std::nullopt;
    const QStringList keys = matchingKeys(s, name);
    if (keys.isEmpty())
        return std::nullopt;
    const QVariant v = s.value(keys.first());
    if (v.typeId() != QMetaType::QString)
        throw StoreError(QStringLiteral("Ungültiger Datentyp für '%1'").arg(name));
    return v.toString();
}

void IniCtrl::store(const QString& section, const QString& name, const std::optional<QString>& value)
{
    const bool remove = !value.has_value();
    if (remove) {
        // Deleting what is not there is no error, and makes no file or folder.
        // (readText also takes care of the section mapping.)
        bool present = false;
        try {
            present = readText(section, name).has_value();
        } catch (const StoreError&) {
            present = true; // there, just not text
        }
        if (!present)
            return;
    }
    const QString sec = resolveSection(section);
    if (name.isEmpty()) // QSettings has no unnamed value
        throw setFailed(name);

    const QFileInfo file(path_);
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw StoreError(QStringLiteral("Erzeugung von Schlüssel %1 misslungen").arg(sec));
    // The new file replaces the old one through a temporary file beside it.
    if (file.exists() && (!file.isFile() || !hasWriteAccess(file)))
        throw setFailed(name);
    if (!hasWriteAccess(QFileInfo(folder)))
        throw setFailed(name);

    // The same lock file QSettings takes, so writers of either kind take turns.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    if (!lock.tryLock(10000))
        throw setFailed(name);

    // Merge into the file as it is on disk now.
    QByteArray current;
    if (file.exists()) {
        QFile in(path_);
        if (!in.open(QFile::ReadOnly))
            throw setFailed(name);
        current = in.readAll();
    }
    std::unique_ptr<Snapshot> snapshot = Snapshot::Of(current, snapshotFolders() << folder);
    if (!snapshot)
        throw setFailed(name);
    QSettings& s = snapshot->settings();
    // A file QSettings cannot parse would be rewritten without the parts it did not
    // understand: refuse rather than lose them.
    if (!openedCleanly(s))
        throw setFailed(name);
    enterSection(s, sec);
    const QStringList keys = matchingKeys(s, name);
    if (remove && keys.isEmpty())
        return;
    for (const QString& k : keys) {
        if (remove || k != name)
            s.remove(k);
    }
    if (!remove)
        s.setValue(name, *value);
    s.sync();
    const std::optional<QByteArray> updated = snapshot->Bytes();
    if (s.status() != QSettings::NoError || !updated)
        throw setFailed(name);

    QSaveFile out(path_);
    if (!out.open(QFile::WriteOnly) || out.write(*updated) != updated->size() || !out.commit())
        throw setFailed(name);
}

bool IniCtrl::ReadBool(const QString& section, const QString& name, bool def)
{
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

int32_t IniCtrl::ReadInteger(const QString& section, const QString& name, int32_t def)
{
    const std::optional<QString> text = readText(section, name);
    if (!text)
        return def;
    return ParseDecimal(*text).value_or(def);
}

QString IniCtrl::ReadString(const QString& section, const QString& name, const QString& def)
{
    return readText(section, name).value_or(def);
}

void IniCtrl::WriteBool(const QString& section, const QString& name, bool value)
{
    store(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniCtrl::WriteInteger(const QString& section, const QString& name, int32_t value)
{
    store(section, name, QString::number(value));
}

void IniCtrl::WriteString(const QString& section, const QString& name, const QString& value)
{
    store(section, name, value);
}

void IniCtrl::DeleteValue(const QString& section, const QString& name)
{
    store(section, name, std::nullopt);
}

} // namespace torvella::settings
