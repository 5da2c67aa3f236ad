#include "settings/IniCtrl.h"

#include "settings/Decimal.h"
#include "settings/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>

namespace torvella::settings {

namespace {

const QString kRootSection = QStringLiteral("#ROOT");
const QString kFirstSection = QStringLiteral("Common");

QString setFailedText(const QString& name) { return QStringLiteral("Fehler beim Setzen der Daten für '%1'").arg(name); }

StoreError setFailed(const QString& name, const QString& detail = QString())
{
    return StoreError(setFailedText(name), detail);
}

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

// The file's bytes; nullopt when it is missing or cannot be read.
std::optional<QByteArray> contentOf(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QFile::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

StoreError::StoreError(const QString& message, const QString& detail)
    : std::runtime_error(message.toStdString()), detail_(detail)
{
}

QString StoreError::Message() const
{
    const QString text = QString::fromUtf8(what());
    return detail_.isEmpty() ? text : text + QLatin1Char('\n') + detail_;
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

IniFile::Value IniCtrl::readValue(const QString& section, const QString& name)
{
    const QString sec = resolveSection(section);
    const std::optional<QByteArray> bytes = contentOf(path_);
    if (name.isEmpty() || !bytes)
        return {};
    const IniFile file = IniFile::Parse(*bytes);
    noteProblems(file);
    return file.Get(sectionOf(sec), name);
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
        throw StoreError(QStringLiteral("Erzeugung von Schlüssel %1 misslungen").arg(sec), folder);
    // The new file replaces the old one through a new file beside it.
    if (file.exists() && (!file.isFile() || !hasWriteAccess(file)))
        throw setFailed(firstName, path_);
    if (!hasWriteAccess(QFileInfo(folder)))
        throw setFailed(firstName, folder);

    // Writers of this store take turns; another copy of the game holds the lock for
    // a few milliseconds, so a lock held for seconds is stuck.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    if (!lock.tryLock(2000))
        throw setFailed(firstName, lock.error() == QLockFile::LockFailedError
                                       ? path_ + QStringLiteral(": in use by another program")
                                       : path_ + QStringLiteral(".lock: cannot be created"));

    // Merge into the file as it is on disk now.
    QByteArray current;
    if (file.exists()) {
        const std::optional<QByteArray> bytes = contentOf(path_);
        if (!bytes)
            throw setFailed(firstName, path_);
        current = *bytes;
    }
    IniFile ini = IniFile::Parse(current);
    noteProblems(ini);
    for (const IniChange& c : changes) {
        if (c.value)
            ini.Set(sectionOf(sec), c.name, *c.value);
        else
            ini.Remove(sectionOf(sec), c.name);
    }
    const QByteArray updated = ini.Serialize();
    if (file.exists() && updated == current)
        return;
    const QString error = SafeSave(path_, updated);
    if (!error.isEmpty())
        throw setFailed(firstName, error);
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
