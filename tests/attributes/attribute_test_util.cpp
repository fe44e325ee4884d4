#include "attributes/attribute_test_util.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>

#include "support/test_util.h"

namespace vandrel::test {

QString DataFile(const QString& rel) { return QStringLiteral(VANDREL_TEST_DATA "/") + rel; }

bool CopyFixture(const QString& rel, const QString& dest) {
    const QByteArray bytes = ReadFile(DataFile(rel));
    return !bytes.isEmpty() && WriteFile(dest, bytes);
}

bool SetFileTimes(const QString& path, qint64 atimeSecs, long atimeNsec, qint64 mtimeSecs,
                  long mtimeNsec) {
    struct timespec ts[2];
    ts[0].tv_sec = static_cast<time_t>(atimeSecs);
    ts[0].tv_nsec = atimeNsec;
    ts[1].tv_sec = static_cast<time_t>(mtimeSecs);
    ts[1].tv_nsec = mtimeNsec;
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), ts, 0) == 0;
}

QByteArray Id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, int track, int genre) {
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, qMin<qsizetype>(30, title.size()), title.left(30));
    tag.replace(33, qMin<qsizetype>(30, artist.size()), artist.left(30));
    tag.replace(63, qMin<qsizetype>(30, album.size()), album.left(30));
    tag.replace(93, qMin<qsizetype>(4, year.size()), year.left(4));
    tag[125] = 0;
    tag[126] = static_cast<char>(track);
    tag[127] = static_cast<char>(genre);
    return tag;
}

namespace {

QByteArray Syncsafe(quint32 v) {
    QByteArray b(4, '\0');
    b[0] = static_cast<char>((v >> 21) & 0x7F);
    b[1] = static_cast<char>((v >> 14) & 0x7F);
    b[2] = static_cast<char>((v >> 7) & 0x7F);
    b[3] = static_cast<char>(v & 0x7F);
    return b;
}

}  // namespace

QByteArray Id3v24Tag(const QList<QPair<QByteArray, QByteArray>>& frames) {
    QByteArray body;
    for (const auto& [id, text] : frames) {
        const QByteArray data = QByteArray(1, '\x03') + text;
        body += id + Syncsafe(static_cast<quint32>(data.size())) + QByteArray(2, '\0') + data;
    }
    body += QByteArray(64, '\0');  // padding
    return QByteArray("ID3\x04\x00\x00", 6) + Syncsafe(static_cast<quint32>(body.size())) + body;
}

QByteArray CbrAudio(int seconds) {
    // 144 * 128000 / 44100 = 417 bytes per frame (no padding bit).
    const QByteArray header("\xFF\xFB\x90\x44", 4);
    QByteArray frame = header + QByteArray(417 - 4, '\0');
    const qsizetype total = static_cast<qsizetype>(seconds) * 16000;
    QByteArray audio;
    audio.reserve(total + frame.size());
    while (audio.size() + frame.size() <= total) audio += frame;
    audio += QByteArray(total - audio.size(), '\0');
    return audio;
}

}  // namespace vandrel::test
