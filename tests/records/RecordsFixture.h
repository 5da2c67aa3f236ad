#pragma once
// A throw-away folder for the records of one test.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace torvella::testing {

class RecordsFolder : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Folder() const { return dir_.path(); }
    static QByteArray Bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void Put(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir dir_;
};

} // namespace torvella::testing
