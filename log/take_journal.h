// The takes a LogManager has committed but not yet written into the database. Each take
// is appended to a side file beside the log with a single write, which makes it as safe as
// a committed SQLite transaction (it outlives the process at once; like the database with
// synchronous=NORMAL, it is on disk only after the system writes it back). The database
// then receives the takes in batches, one transaction for many takes, which is what makes
// logging cheap next to the file operations it records.
//
// Each manager owns one side file ("<log>-takes-<pid>-<n>") and holds an exclusive flock on
// it while it lives; a side file nobody holds belongs to a manager that ended without
// writing its takes, and the next manager to open the log takes them over.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace vandrel {

struct JournalTake {
    // The take's own identity, which tells whether it is stored already: the side file's
    // random identity and the take's number in it (from 1, increasing). Empty and 0 for a
    // take read from a side file written before takes carried one.
    QString journal;
    qint64 sequence = 0;
    // The take identity's date and time part: the clock's year, month, day, hour, minute
    // and second at the commit (the random part is drawn when the take is stored).
    QString identityStem;
    QString ruleTitle;
    QString searchText;
    // The run the take belongs to; empty for takes of side files written before runs were
    // recorded (each such take is then a run of its own).
    QString runId;
    struct Row {
        QString takeTime;  // as stored: "yyyy-MM-dd HH:mm:ss", or empty
        QString actionName;
        QString dstPath;
        QString oriPath;
        QString undoMark;  // what undo checks the item by; empty when there is nothing
    };
    std::vector<Row> rows;
};

class TakeJournal {
  public:
    TakeJournal() = default;
    ~TakeJournal();
    TakeJournal(const TakeJournal&) = delete;
    TakeJournal& operator=(const TakeJournal&) = delete;

    // Creates this manager's side file beside logPath; false when it cannot (the caller
    // then writes each take straight into the database).
    bool open(const QString& logPath);
    bool isOpen() const { return fd_ >= 0; }
    // This side file's identity (random, never used again); empty when not open.
    const QString& id() const { return id_; }
    // One write of the whole take; false when not all of it was written (the file is cut
    // back to where it was, so no half take stays behind). A take without an identity gets
    // this file's and the next number first.
    bool append(JournalTake& take);
    // Forgets every take written so far (they are in the database now).
    bool clear();
    // Closes the side file; removes it too when removeFile (nothing left in it to keep).
    void close(bool removeFile);

    // Side files beside logPath that no living manager holds. Each comes back locked:
    // give it to ReadAndRelease once its takes are stored (or not).
    struct Orphan {
        QString path;
        int fd = -1;
    };
    static std::vector<Orphan> ClaimOrphans(const QString& logPath);
    // The complete takes of a claimed side file, in the order written; a damaged or
    // unfinished take at the end and everything after it is left out. readToEnd is false
    // when reading the file failed part-way (the takes before the failure come back): the
    // file must then be kept, since the rest may be read another time.
    struct OrphanTakes {
        std::vector<JournalTake> takes;
        bool readToEnd = true;
    };
    static OrphanTakes Read(const Orphan& orphan);
    // Unlocks the side file, removing it when remove.
    static void Release(const Orphan& orphan, bool remove);

    // The bytes of one take as written to the file (exposed for tests of damaged files).
    static QByteArray Encode(const JournalTake& take);

  private:
    int fd_ = -1;
    QString path_;
    QString id_;
    qint64 lastSequence_ = 0;
    qint64 size_ = 0;
};

}  // namespace vandrel
