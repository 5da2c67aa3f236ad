#include "records/Journal.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace torvella::records {

namespace {
const QByteArray kMagic = QByteArrayLiteral("torvella-journal");
}

Journal::Journal(QString folder, QByteArray programVersion) : folder_(std::move(folder)), version_(std::move(programVersion)) {}

Journal::~Journal() { Close(); }

QByteArray Journal::Header() const
{
    return kMagic + ' ' + QByteArray::number(kFormat) + ' ' + version_ + '\n';
}

Journal::Found Journal::Open()
{
    Found found;
    QDir dir(folder_);
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("game-*.journal")}, QDir::Files, QDir::Time);
    for (const QFileInfo& info : files)
        if (TakeOver(info.absoluteFilePath(), found))
            break;
    if (!file_.IsOpen())
        StartNewFile();
    return found;
}

// True when the search is over: `path` is now this run's file.
bool Journal::TakeOver(const QString& path, Found& found)
{
    LineFile candidate;
    if (!candidate.Open(path).isEmpty() || !candidate.TryHold())
        return false;  // another running copy's game
    const QList<QByteArray> lines = CompleteLines(candidate.ReadAll());
    if (lines.isEmpty()) {
        QFile::remove(path);  // an ended game's file that was not cleared away
        return false;
    }
    file_.Close();
    file_.Swap(candidate);
    const QList<QByteArray> head = lines.first().split(' ');
    if (head.size() < 2 || head[0] != kMagic) {
        found.what = Left::Unreadable;
        found.setAside = SetAside(QStringLiteral("unreadable"));
    } else if (head[1] != QByteArray::number(kFormat)) {
        found.what = Left::OtherVersion;
        found.setAside = SetAside(QStringLiteral("version-") + QString::fromLatin1(head.value(2, head[1])));
    } else {
        found.what = Left::Game;
        found.events = lines.mid(1);
        empty_ = false;
    }
    return true;
}

QString Journal::SetAsideUnreadable() { return SetAside(QStringLiteral("unreadable")); }

// Renames this run's file out of the journals' way and starts a new one.
QString Journal::SetAside(const QString& why)
{
    const QString from = file_.Path();
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString to = from + QLatin1Char('.') + why + QLatin1Char('-') + stamp;
    for (int n = 2; QFileInfo::exists(to); ++n)
        to = from + QLatin1Char('.') + why + QLatin1Char('-') + stamp + QLatin1Char('-') + QString::number(n);
    const bool moved = QFile::rename(from, to);
    file_.Close();
    StartNewFile();
    empty_ = true;
    return moved ? to : from;
}

void Journal::StartNewFile()
{
    openError_.clear();
    for (int n = 1; n < 1000; ++n)
        if (file_.Create(QStringLiteral("%1/game-%2.journal").arg(folder_).arg(n), openError_) && file_.TryHold())
            return;
        else if (!openError_.isEmpty())
            return;  // the folder cannot be written: every write says so
}

QString Journal::Begin(const QByteArray& firstEventLines)
{
    empty_ = false;
    return file_.IsOpen() ? file_.Replace(Header() + firstEventLines) : openError_;
}

QString Journal::Add(const QByteArray& eventLine)
{
    if (!file_.IsOpen())
        return openError_;
    return file_.Append(eventLine.endsWith('\n') ? eventLine : eventLine + '\n');
}

QString Journal::End()
{
    empty_ = true;
    return file_.IsOpen() ? file_.Replace({}) : QString();
}

void Journal::Close()
{
    if (file_.IsOpen() && empty_)
        QFile::remove(file_.Path());
    file_.Close();
}

} // namespace torvella::records
