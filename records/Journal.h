#pragma once
// The journal of the tableau being played: the events of its record, one line each, written
// to the disk as they happen, so that a game the player did not end (a signal, a logout, a
// crash, a power cut) can be rebuilt at the next start. A game the player ends empties it.
//
// Each running copy of the game holds a journal file of its own
// ($XDG_STATE_HOME/torvella/game-N.journal) for as long as it runs; the lock goes with the
// process however it ends. At start-up a copy takes over the newest journal no running copy
// holds, so two copies never write into one file and neither loses the other's game.
#include "records/LineFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace torvella::records {

class Journal {
public:
    // The first line of every journal: its format, then the program that wrote it.
    static constexpr int kFormat = 1;

    enum class Left { Nothing, Game, OtherVersion, Unreadable };
    struct Found {
        Left what = Left::Nothing;
        QList<QByteArray> events;  // Game: the event lines, in order
        QString setAside;          // OtherVersion, Unreadable: where the file went
    };

    explicit Journal(QString folder, QByteArray programVersion);
    ~Journal();

    // Takes this run's journal file and says what an earlier run left in it. A journal of
    // another format is moved aside (never deleted) and this run starts a new file.
    Found Open();
    // The events could not be made into a game: the file goes aside as unreadable; the
    // answer is its new name.
    QString SetAsideUnreadable();

    // Each write is flushed to the disk before it returns. Empty on success, else why not;
    // a failed write leaves the lines written before it complete.
    QString Begin(const QByteArray& firstEventLines);  // a new game: the journal starts over
    QString Add(const QByteArray& eventLine);
    QString End();  // the game is over: nothing to bring back

    // End of the run: an ended game's file goes, an unfinished one stays for the next start.
    void Close();

    QString Path() const { return file_.Path(); }

private:
    bool TakeOver(const QString& path, Found& found);
    QString SetAside(const QString& why);
    void StartNewFile();
    QByteArray Header() const;

    QString folder_;
    QByteArray version_;
    LineFile file_;
    QString openError_;  // why this run has no journal file, if it has none
    bool empty_ = true;
};

} // namespace torvella::records
