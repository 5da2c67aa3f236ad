#pragma once
// A file of text lines that only ever grows by whole lines. A line counts once its newline
// is on the disk: a crash, a SIGKILL or a full disk in the middle of a write leaves at most
// an incomplete last line, which reading skips and the next append cuts off first. An
// append that cannot be written whole is taken back, so the file keeps what it had.
//
// Two running copies of the game may share a file: each append takes the file's lock for
// the time of the write.
#include <QByteArray>
#include <QList>
#include <QString>

namespace torvella::records {

// The complete lines of `bytes` (without their newlines); an unfinished tail is left out.
QList<QByteArray> CompleteLines(const QByteArray& bytes);

class LineFile {
public:
    LineFile() = default;
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    // Opens (creating it and its folder when missing) for reading and appending. Empty on
    // success, else why not.
    QString Open(const QString& path);
    // Opens a file that must not exist yet; false when it does (nothing else is reported).
    bool Create(const QString& path, QString& error);
    bool IsOpen() const { return fd_ >= 0; }
    const QString& Path() const { return path_; }
    void Close();
    void Swap(LineFile& other) noexcept;

    // Holds the file for this process alone until Close (or the process ends, however it
    // ends). False when another process holds it.
    bool TryHold();

    // The whole content as it is on the disk now.
    QByteArray ReadAll() const;
    // Appends `lines` (each ending in a newline) as one write and flushes them to the disk.
    // An incomplete line left by an earlier crash is cut off first. Empty on success;
    // else the file is as it was and the text says why.
    QString Append(const QByteArray& lines);
    // Replaces the whole content by `lines` the same way (a new game in the journal).
    QString Replace(const QByteArray& lines);

private:
    QString Failure(int error) const;
    QString WriteAt(qint64 at, const QByteArray& bytes);

    int fd_ = -1;
    bool held_ = false;
    qint64 end_ = -1;  // where the next line goes, known while held
    QString path_;
};

} // namespace torvella::records
