// Tag reading speed: Tagwell against TagLib on the same 2,000 generated MP3 files (an
// ID3v2.3 tag, a few MPEG frames, an ID3v1 tag), in one process. Each file is read
// completely by each library: tags and audio properties. Prints files per second for
// both and their ratio. Usage: bench_tag_read [FILES] [ROUNDS]
#include <mpegfile.h>
#include <stdlib.h>
#include <tag.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tagwell/tag_reader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::uint32_t v, bool syncsafe) {
    if (syncsafe)
        v = ((v & 0x0FE00000) << 3) | ((v & 0x1FC000) << 2) | ((v & 0x3F80) << 1) | (v & 0x7F);
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}

void TextFrame(Bytes& b, const char* id, const std::string& text) {
    b.insert(b.end(), id, id + 4);
    Put32(b, static_cast<std::uint32_t>(text.size() + 1), false);
    b.push_back(0), b.push_back(0), b.push_back(0);  // flags, Latin-1
    b.insert(b.end(), text.begin(), text.end());
}

Bytes MakeFile(int i) {
    Bytes frames;
    TextFrame(frames, "TIT2", "Title number " + std::to_string(i));
    TextFrame(frames, "TPE1", "Artist " + std::to_string(i % 50));
    TextFrame(frames, "TALB", "Album " + std::to_string(i % 200));
    TextFrame(frames, "TRCK", std::to_string(i % 20 + 1) + "/20");
    TextFrame(frames, "TYER", std::to_string(1960 + i % 60));
    TextFrame(frames, "TCON", '(' + std::to_string(i % 148) + ')');
    frames.resize(frames.size() + 256, 0);  // padding, as taggers leave

    Bytes file = {'I', 'D', '3', 3, 0, 0};
    Put32(file, static_cast<std::uint32_t>(frames.size()), true);
    file.insert(file.end(), frames.begin(), frames.end());
    // Five MPEG 1 Layer III frames, 128 kbit/s, 44100 Hz, joint stereo (417 bytes each).
    for (int f = 0; f < 5; ++f) {
        Bytes frame(417, 0);
        frame[0] = 0xFF, frame[1] = 0xFB, frame[2] = 0x90, frame[3] = 0x40;
        file.insert(file.end(), frame.begin(), frame.end());
    }
    Bytes v1(128, 0);
    std::string t = "V1 title " + std::to_string(i);
    v1[0] = 'T', v1[1] = 'A', v1[2] = 'G';
    std::copy(t.begin(), t.end(), v1.begin() + 3);
    v1[126] = static_cast<std::uint8_t>(i % 20 + 1);
    v1[127] = static_cast<std::uint8_t>(i % 148);
    file.insert(file.end(), v1.begin(), v1.end());
    return file;
}

// Touches every text so neither library can skip work; the sum is printed. TagLib reads
// with its lightest property style (Fast), which favours it.
std::size_t ReadWithTagwell(const std::vector<std::string>& paths) {
    std::size_t sum = 0;
    for (const std::string& p : paths) {
        tagwell::TagReader r;
        r.LoadMP3File(p);
        sum += r.ArtistString().size() + r.AlbumString().size() + r.TitleString().size() +
               r.TrackNumberString().size() + r.YearString().size() + r.GenreString().size() +
               r.LengthString().size() + r.BitrateString().size() + r.FrequencyString().size();
    }
    return sum;
}

std::size_t ReadWithTagLib(const std::vector<std::string>& paths) {
    std::size_t sum = 0;
    for (const std::string& p : paths) {
        TagLib::MPEG::File f(p.c_str(), true, TagLib::AudioProperties::Fast);
        if (TagLib::Tag* t = f.tag()) {
            sum += t->artist().to8Bit(true).size() + t->album().to8Bit(true).size() +
                   t->title().to8Bit(true).size() + std::to_string(t->track()).size() +
                   std::to_string(t->year()).size() + t->genre().to8Bit(true).size();
        }
        if (TagLib::AudioProperties* a = f.audioProperties()) {
            sum += std::to_string(a->lengthInSeconds()).size() +
                   std::to_string(a->bitrate()).size() + std::to_string(a->sampleRate()).size() +
                   std::to_string(a->channels()).size();
        }
    }
    return sum;
}

template <typename F>
double BestSeconds(int rounds, F&& run, std::size_t& sum) {
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        auto start = std::chrono::steady_clock::now();
        sum = run();
        std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
        best = std::min(best, d.count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    if (count <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: bench_tag_read [FILES] [ROUNDS]\n");
        return 2;
    }

    std::string tmpl = (std::filesystem::temp_directory_path() / "bench_tag_read.XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path dir = tmpl;
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        std::string p = (dir / ("track" + std::to_string(i) + ".mp3")).string();
        Bytes b = MakeFile(i);
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        paths.push_back(p);
    }

    // One untimed pass each so both read from the page cache.
    ReadWithTagwell(paths);
    ReadWithTagLib(paths);

    std::size_t sumTagwell = 0, sumTagLib = 0;
    double tTagLib = BestSeconds(
        rounds, [&] { return ReadWithTagLib(paths); }, sumTagLib);
    double tTagwell = BestSeconds(
        rounds, [&] { return ReadWithTagwell(paths); }, sumTagwell);

    double rateTagwell = count / tTagwell;
    double rateTagLib = count / tTagLib;
    std::printf("bench_tag_read: %d files, best of %d rounds\n", count, rounds);
    std::printf("  tagwell: %10.0f files/s  (%.3f s, text bytes %zu)\n", rateTagwell, tTagwell,
                sumTagwell);
    std::printf("  taglib:  %10.0f files/s  (%.3f s, text bytes %zu)\n", rateTagLib, tTagLib,
                sumTagLib);
    std::printf("  ratio tagwell/taglib: %.2fx (target >= 1.5x)\n", rateTagwell / rateTagLib);

    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
