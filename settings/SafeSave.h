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

// Empty on success, else what went wrong, for the player ("... : No space left on device").
// A symbolic link is followed: the file it points to is replaced, the link stays.
QString SafeSave(const QString& path, const QByteArray& bytes, const FileCalls& calls = SystemFileCalls());

} // namespace torvella::settings
