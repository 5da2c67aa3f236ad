#pragma once
// Shared pieces of the help tests: a private temporary folder that also serves as
// TMPDIR and XDG_STATE_HOME, a recorder for message boxes, and reading a log back.
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

// A folder for the test with three sub-folders: "prog" (where the program would live),
// "tmp" (the temporary folder of the run, via TMPDIR) and "state" (XDG_STATE_HOME).
class TempFolders {
public:
    TempFolders()
    {
        EXPECT_TRUE(root_.isValid());
        QDir(root_.path()).mkpath(QStringLiteral("prog"));
        QDir(root_.path()).mkpath(QStringLiteral("tmp"));
        QDir(root_.path()).mkpath(QStringLiteral("state"));
        for (auto& [name, old, had, value] : saved_) {
            old = qgetenv(name);
            had = qEnvironmentVariableIsSet(name);
            qputenv(name, (root_.path() + QLatin1Char('/') + QLatin1String(value)).toLocal8Bit());
        }
    }
    ~TempFolders()
    {
        for (const auto& [name, old, had, value] : saved_) {
            if (had)
                qputenv(name, old);
            else
                qunsetenv(name);
        }
    }
    QString Root() const { return root_.path(); }
    QString Prog() const { return root_.path() + QStringLiteral("/prog"); }
    QString Tmp() const { return root_.path() + QStringLiteral("/tmp"); }
    QString State() const { return root_.path() + QStringLiteral("/state"); }
    QString ProgExe() const { return Prog() + QStringLiteral("/torvella"); }

private:
    struct Saved {
        const char* name;
        QByteArray old;
        bool had;
        const char* value;
    };
    QTemporaryDir root_;
    Saved saved_[2] = {{"TMPDIR", {}, false, "tmp"}, {"XDG_STATE_HOME", {}, false, "state"}};
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
