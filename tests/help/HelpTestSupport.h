#pragma once
// Shared pieces of the help tests: a private temporary folder that also serves as
// TMPDIR, a recorder for message boxes, and reading a log back.
#include "help/hh_funcs.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace torvella::help::testing {

// A folder for the test with two sub-folders: "prog" (where the program would live)
// and "tmp" (the temporary folder of the run, via TMPDIR).
class TempFolders {
public:
    TempFolders()
    {
        EXPECT_TRUE(root_.isValid());
        QDir(root_.path()).mkpath(QStringLiteral("prog"));
        QDir(root_.path()).mkpath(QStringLiteral("tmp"));
        oldTmp_ = qgetenv("TMPDIR");
        hadTmp_ = qEnvironmentVariableIsSet("TMPDIR");
        qputenv("TMPDIR", Tmp().toLocal8Bit());
    }
    ~TempFolders()
    {
        if (hadTmp_)
            qputenv("TMPDIR", oldTmp_);
        else
            qunsetenv("TMPDIR");
    }
    QString Root() const { return root_.path(); }
    QString Prog() const { return root_.path() + QStringLiteral("/prog"); }
    QString Tmp() const { return root_.path() + QStringLiteral("/tmp"); }
    QString ProgExe() const { return Prog() + QStringLiteral("/torvella"); }

private:
    QTemporaryDir root_;
    QByteArray oldTmp_;
    bool hadTmp_ = false;
};

// Records every message box instead of showing it.
class MessageRecorder {
public:
    MessageRecorder()
    {
        previous_ = SetMessageBoxFunc([this](const QString& caption, const QString& text) {
            captions.append(caption);
            texts.append(text);
        });
    }
    ~MessageRecorder() { SetMessageBoxFunc(previous_); }
    QStringList captions;
    QStringList texts;

private:
    MessageBoxFunc previous_;
};

inline QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

} // namespace torvella::help::testing
