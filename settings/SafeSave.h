#pragma once
// Replaces the content of a file in one step: the new content goes into a new file
// beside it, is written, flushed to the disk and closed, each step checked, and only
// then renamed over the old file. When any step fails the new file is removed and the
// old one stays exactly as it was.
//
// (QSaveFile buffers its writes: the "no space left" of a full disk only comes when it
// flushes inside commit(), which then renames the truncated file over the old one all
// the same.)
#include <QByteArray>
#include <QString>
#include <sys/types.h>

namespace torvella::settings {

// The system calls the save uses; tests replace one to make that step fail.
struct FileCalls {
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};
const FileCalls& SystemFileCalls();

// A step on a file that failed: the file and the system's error number; error 0 = no failure.
struct FileFailure {
    QString path;
    int error = 0;
    explicit operator bool() const { return error != 0; }
    // "<file>: <reason>", the reason in German or English whatever the system's language.
    QString Describe(bool german) const;
};
// The reason alone, for an error number.
QString ErrorReason(int error, bool german);

// A symbolic link is followed: the file it points to is replaced, the link stays.
FileFailure SafeSave(const QString& path, const QByteArray& bytes, const FileCalls& calls = SystemFileCalls());

// Makes `copy` hold what `path` holds now, replacing an earlier copy in one step: a hard
// link where the file system has them, else a copy written as SafeSave writes.
FileFailure KeepCopy(const QString& path, const QString& copy);

// Removes the new files that saves of `path` left behind when they were killed before
// their rename. Only for a caller that keeps every other writer of the file out (the
// store's lock): a save running beside it would lose its new file.
void RemoveLeftovers(const QString& path);

} // namespace torvella::settings
