// A journal file of arbitrary bytes found at start-up: opening never fails; a journal of
// this format gives back exactly its complete lines after the first, anything else is set
// aside byte for byte; and the run can write a journal of its own afterwards.
#include "FuzzCheck.h"
#include "records/Journal.h"
#include "records/LineFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace torvella::records;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile f(dir.filePath(QStringLiteral("game-1.journal")));
        FUZZ_CHECK(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const QList<QByteArray> lines = CompleteLines(bytes);
    Journal journal(dir.path(), "fuzz");
    const Journal::Found found = journal.Open();
    switch (found.what) {
    case Journal::Left::Nothing:
        FUZZ_CHECK(lines.isEmpty());
        break;
    case Journal::Left::Game:
        FUZZ_CHECK(found.events == lines.mid(1));
        break;
    case Journal::Left::OtherVersion:
    case Journal::Left::Unreadable: {
        QFile aside(found.setAside);
        FUZZ_CHECK(aside.open(QIODevice::ReadOnly) && aside.readAll() == bytes);
        break;
    }
    }
    FUZZ_CHECK(journal.Begin("deal 1\n").isEmpty());
    FUZZ_CHECK(journal.Add("move").isEmpty());
    journal.Close();
    Journal next(dir.path(), "fuzz");
    const Journal::Found back = next.Open();
    FUZZ_CHECK(back.what == Journal::Left::Game && back.events == (QList<QByteArray>{"deal 1", "move"}));
    return 0;
}
