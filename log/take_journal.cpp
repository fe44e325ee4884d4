#include "log/take_journal.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/locked_file.h"

namespace vandrel {

namespace {

// Takes with their identity, run and undo marks; side files of older programs hold takes
// without the run and marks (VTK2) or without any of these (VTK1).
constexpr char kMagic[4] = {'V', 'T', 'K', '3'};
constexpr char kIdentityMagic[4] = {'V', 'T', 'K', '2'};
constexpr char kOldMagic[4] = {'V', 'T', 'K', '1'};
constexpr int kHeaderSize = 12;  // magic, payload length, checksum
// A take of a few thousand records stays far below this; more means a damaged length.
constexpr quint32 kMaxPayload = 256u << 20;

quint32 Fnv1a(const char* data, qsizetype size) {
    quint32 h = 2166136261u;
    for (qsizetype i = 0; i < size; ++i) {
        h ^= static_cast<unsigned char>(data[i]);
        h *= 16777619u;
    }
    return h;
}

void PutU32(char* out, quint32 v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

quint32 GetU32(const char* in) {
    quint32 v = 0;
    for (int i = 0; i < 4; ++i) v |= quint32(static_cast<unsigned char>(in[i])) << (8 * i);
    return v;
}

// "<name>-takes-": what every side file of the log at logPath starts with.
QString Prefix(const QString& logPath, const char* kind) {
    return QFileInfo(logPath).fileName() + QLatin1String(kind);
}

constexpr quint32 kNullString = 0xFFFFFFFFu;

// A string as its length in UTF-16 units (kNullString for a null one, so NULL columns stay
// NULL) followed by its UTF-16 units, little-endian.
void PutString(QByteArray& out, const QString& s) {
    char length[4];
    PutU32(length, s.isNull() ? kNullString : quint32(s.size()));
    out.append(length, 4);
    const qsizetype at = out.size();
    out.resize(at + 2 * s.size());
    qToLittleEndian<char16_t>(s.utf16(), s.size(), out.data() + at);
}

// False when the bytes end before the string does.
bool GetString(const QByteArray& in, qsizetype& pos, QString& s) {
    if (in.size() - pos < 4) return false;
    const quint32 n = GetU32(in.constData() + pos);
    pos += 4;
    if (n == kNullString) {
        s = QString();
        return true;
    }
    if (qsizetype(n) > (in.size() - pos) / 2) return false;
    s.resize(qsizetype(n));
    qFromLittleEndian<char16_t>(in.constData() + pos, qsizetype(n), s.data());
    pos += 2 * qsizetype(n);
    return true;
}

std::optional<JournalTake> Decode(const QByteArray& payload, bool withIdentity, bool withRun) {
    JournalTake take;
    qsizetype pos = 0;
    if (withIdentity) {
        if (!GetString(payload, pos, take.journal) || payload.size() - pos < 8) return std::nullopt;
        take.sequence = qint64(GetU32(payload.constData() + pos)) |
                        (qint64(GetU32(payload.constData() + pos + 4)) << 32);
        pos += 8;
    }
    if (!GetString(payload, pos, take.identityStem) || !GetString(payload, pos, take.ruleTitle) ||
        !GetString(payload, pos, take.searchText) ||
        (withRun && !GetString(payload, pos, take.runId)) || payload.size() - pos < 4)
        return std::nullopt;
    const quint32 rows = GetU32(payload.constData() + pos);
    pos += 4;
    // Each row takes at least 16 bytes: a row count beyond that is damage.
    if (rows > quint32((payload.size() - pos) / 16)) return std::nullopt;
    take.rows.resize(rows);
    for (JournalTake::Row& r : take.rows)
        if (!GetString(payload, pos, r.takeTime) || !GetString(payload, pos, r.actionName) ||
            !GetString(payload, pos, r.dstPath) || !GetString(payload, pos, r.oriPath) ||
            (withRun && !GetString(payload, pos, r.undoMark)))
            return std::nullopt;
    if (pos != payload.size()) return std::nullopt;
    return take;
}

}  // namespace

TakeJournal::~TakeJournal() { close(false); }

QByteArray TakeJournal::Encode(const JournalTake& take) {
    // Sized once: a take is encoded on every commit.
    qsizetype size = kHeaderSize + 5 * 4 + 8 +
                     2 * (take.journal.size() + take.identityStem.size() + take.ruleTitle.size() +
                          take.searchText.size() + take.runId.size()) +
                     4;
    for (const JournalTake::Row& r : take.rows)
        size += 5 * 4 + 2 * (r.takeTime.size() + r.actionName.size() + r.dstPath.size() +
                             r.oriPath.size() + r.undoMark.size());
    QByteArray record;
    record.reserve(size);
    record.resize(kHeaderSize, '\0');
    PutString(record, take.journal);
    char sequence[8];
    PutU32(sequence, quint32(quint64(take.sequence) & 0xFFFFFFFFu));
    PutU32(sequence + 4, quint32(quint64(take.sequence) >> 32));
    record.append(sequence, 8);
    PutString(record, take.identityStem);
    PutString(record, take.ruleTitle);
    PutString(record, take.searchText);
    PutString(record, take.runId);
    char rows[4];
    PutU32(rows, quint32(take.rows.size()));
    record.append(rows, 4);
    for (const JournalTake::Row& r : take.rows) {
        PutString(record, r.takeTime);
        PutString(record, r.actionName);
        PutString(record, r.dstPath);
        PutString(record, r.oriPath);
        PutString(record, r.undoMark);
    }
    const qsizetype payload = record.size() - kHeaderSize;
    std::memcpy(record.data(), kMagic, 4);
    PutU32(record.data() + 4, quint32(payload));
    PutU32(record.data() + 8, Fnv1a(record.constData() + kHeaderSize, payload));
    return record;
}

bool TakeJournal::open(const QString& logPath) {
    close(false);
    static std::atomic<int> counter{0};
    const QString folder = QFileInfo(logPath).absolutePath() + QLatin1Char('/');
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString unique = QStringLiteral("%1-%2")
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(counter.fetch_add(1));
        // Made under another name and locked before it gets the name others look for, so
        // no one ever takes it for the file of a manager that has ended.
        const QString fresh = folder + Prefix(logPath, "-newtakes-") + unique;
        const QString final = folder + Prefix(logPath, "-takes-") + unique;
        const FsResult<int> made = CreateLockedFile(fresh, final);
        if (!made.ok()) {
            if (made.status().alreadyExists()) continue;
            return false;
        }
        const int fd = made.value();
        fd_ = fd;
        path_ = final;
        size_ = 0;
        id_ = QString::number(QRandomGenerator::system()->generate64(), 16) +
              QString::number(QRandomGenerator::system()->generate64(), 16);
        lastSequence_ = 0;
        return true;
    }
    return false;
}

bool TakeJournal::append(JournalTake& take) {
    if (fd_ < 0) return false;
    if (take.journal.isEmpty()) {
        take.journal = id_;
        take.sequence = ++lastSequence_;
    }
    const QByteArray record = Encode(take);
    if (AppendToFile(fd_, record).ok()) {
        size_ += record.size();
        return true;
    }
    // A part of the take may have gone in: cut it off, so the file holds whole takes only.
    // If even that fails, the file goes: its takes are still waiting in memory, and a
    // file left for others to take over would have them stored twice.
    if (!TruncateFile(fd_, size_).ok()) close(true);
    return false;
}

bool TakeJournal::clear() {
    if (fd_ < 0) return false;
    if (!TruncateFile(fd_, 0).ok()) return false;
    size_ = 0;
    return true;
}

void TakeJournal::close(bool removeFile) {
    if (fd_ < 0) return;
    CloseLockedFile(fd_, removeFile ? path_ : QString());  // also lets go of the lock
    fd_ = -1;
    path_.clear();
    id_.clear();
    size_ = 0;
}

std::vector<TakeJournal::Orphan> TakeJournal::ClaimOrphans(const QString& logPath) {
    std::vector<Orphan> claimed;
    const QString folder = QFileInfo(logPath).absolutePath() + QLatin1Char('/');
    const QString takes = Prefix(logPath, "-takes-");
    const QString fresh = Prefix(logPath, "-newtakes-");
    FsResult<std::vector<FolderEntry>> list = DefaultFileSystem().listFolder(folder);
    if (!list.ok()) return claimed;
    QStringList names;
    for (const FolderEntry& e : list.value())
        if (e.exactName) names << e.name;
    names.sort();
    for (const QString& name : names) {
        const bool isTakes = name.startsWith(takes);
        if (!isTakes && !name.startsWith(fresh)) continue;
        const QString path = folder + name;
        // Locked: its manager is alive. Gone or replaced after we opened it: another
        // manager has just taken it over.
        const FsResult<int> held = ClaimLockedFile(path);
        if (!held.ok()) continue;
        const int fd = held.value();
        if (!isTakes) {
            // Left by a manager that ended while it made its file: never written to.
            CloseLockedFile(fd, path);
            continue;
        }
        claimed.push_back({path, fd});
    }
    return claimed;
}

TakeJournal::OrphanTakes TakeJournal::Read(const Orphan& orphan) {
    OrphanTakes result;
    std::vector<JournalTake>& out = result.takes;
    const WholeFileRead read = ReadWholeFile(orphan.fd);
    result.readToEnd = read.status.ok();
    const QByteArray& all = read.bytes;
    qsizetype pos = 0;
    while (all.size() - pos >= kHeaderSize) {
        const char* h = all.constData() + pos;
        const bool withRun = std::memcmp(h, kMagic, 4) == 0;
        const bool withIdentity = withRun || std::memcmp(h, kIdentityMagic, 4) == 0;
        if (!withIdentity && std::memcmp(h, kOldMagic, 4) != 0) break;
        const quint32 size = GetU32(h + 4);
        if (size > kMaxPayload || all.size() - pos - kHeaderSize < qsizetype(size)) break;
        const char* payload = h + kHeaderSize;
        if (Fnv1a(payload, size) != GetU32(h + 8)) break;
        std::optional<JournalTake> take = Decode(QByteArray(payload, size), withIdentity, withRun);
        if (!take) break;
        out.push_back(std::move(*take));
        pos += kHeaderSize + size;
    }
    return result;
}

void TakeJournal::Release(const Orphan& orphan, bool remove) {
    CloseLockedFile(orphan.fd, remove ? orphan.path : QString());
}

}  // namespace vandrel
