// Writes a small gradient JPEG without any metadata: make_plain_jpeg OUT.jpg [WIDTH HEIGHT]
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_plain_jpeg OUT.jpg [WIDTH HEIGHT]\n");
        return 2;
    }
    const int w = argc > 3 ? std::atoi(argv[2]) : 32;
    const int h = argc > 3 ? std::atoi(argv[3]) : 24;
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return image.save(QString::fromLocal8Bit(argv[1]), "JPG", 85) ? 0 : 1;
}
