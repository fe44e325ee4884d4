// Test-only: a small but real MP3 file (MPEG-1 Layer III frames at 128 kbit/s, 44.1 kHz)
// with an ID3v1 tag, for tests that read MP3 attributes before fixture files exist.
#pragma once

#include <QByteArray>

namespace vandrel::test {

// frames: number of 417-byte audio frames (about 26 ms each). genre: ID3v1 genre byte.
inline QByteArray MakeMp3(const QByteArray& title, const QByteArray& artist, const QByteArray& year,
                          int frames = 40, unsigned char genre = 32) {
    QByteArray out;
    for (int i = 0; i < frames; ++i) {
        QByteArray frame(417, '\0');
        frame[0] = char(0xFF);
        frame[1] = char(0xFB);  // MPEG-1, Layer III, no CRC
        frame[2] = char(0x90);  // 128 kbit/s, 44.1 kHz, no padding
        frame[3] = char(0x00);
        out += frame;
    }
    auto field = [](const QByteArray& s, int n) {
        QByteArray f = s.left(n);
        f.append(QByteArray(n - f.size(), '\0'));
        return f;
    };
    out += "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) + field(year, 4) +
           field("", 30) + QByteArray(1, char(genre));
    return out;
}

}  // namespace vandrel::test
