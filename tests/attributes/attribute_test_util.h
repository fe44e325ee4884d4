// Helpers shared by the attribute tests: fixture paths, copying fixtures into a temporary
// folder, setting file times, and building small MP3 files in memory.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vandrel::test {

// tests/data/<rel>
QString DataFile(const QString& rel);

// Copies tests/data/<rel> to dest; false on failure.
bool CopyFixture(const QString& rel, const QString& dest);

// Sets the access and modification times (nanosecond precision). False on failure.
bool SetFileTimes(const QString& path, qint64 atimeSecs, long atimeNsec, qint64 mtimeSecs,
                  long mtimeNsec);

// An ID3v1.1 tag (128 bytes): title, artist, album, year, track, genre byte.
QByteArray Id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, int track, int genre);

// An ID3v2.4 tag with one UTF-8 (encoding 3) text frame per (id, text) pair.
QByteArray Id3v24Tag(const QList<QPair<QByteArray, QByteArray>>& frames);

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, joint stereo frames for about `seconds` of audio
// (constant bit rate: 16000 bytes per second).
QByteArray CbrAudio(int seconds);

}  // namespace vandrel::test

#include <ostream>

// Readable failure messages for QString values (found by argument-dependent lookup).
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
