// Feeds arbitrary bytes to the MP3 tag reader as if they were a whole file. Any crash,
// sanitizer report, hang or runaway allocation is a fault; the texts must also be valid
// UTF-8 whatever the input. The same bytes are then read again as a file (an in-memory
// file through its /proc path), whose block-wise reads must give exactly the same texts.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/utf8_check.h"
#include "tagwell/tag_reader.h"

namespace {

using vandrel::test::IsValidUtf8;

using Getter = const std::string& (tagwell::TagReader::*)() const;
constexpr Getter kTexts[] = {
    &tagwell::TagReader::ArtistString,    &tagwell::TagReader::AlbumString,
    &tagwell::TagReader::TitleString,     &tagwell::TagReader::TrackNumberString,
    &tagwell::TagReader::YearString,      &tagwell::TagReader::GenreString,
    &tagwell::TagReader::LengthString,    &tagwell::TagReader::BitrateString,
    &tagwell::TagReader::FrequencyString,
};

// The input as a file: memfd keeps it off the disk. -1 when memfd is not available.
int MemoryFile(const std::uint8_t* data, std::size_t size) {
    int fd = memfd_create("fuzz_tag_reader", MFD_CLOEXEC);
    if (fd < 0) return -1;
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) {
            close(fd);
            return -1;
        }
        done += static_cast<std::size_t>(n);
    }
    return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagwell::TagReader reader;
    reader.LoadMP3Buffer(data, size);
    for (Getter get : kTexts) {
        if (!IsValidUtf8((reader.*get)())) std::abort();
    }
    if (reader.LengthString().empty() || reader.BitrateString().empty()) std::abort();

    int fd = MemoryFile(data, size);
    if (fd >= 0) {
        tagwell::TagReader fromFile;
        bool ok = fromFile.LoadMP3File("/proc/self/fd/" + std::to_string(fd));
        close(fd);
        if (!ok) std::abort();
        for (Getter get : kTexts) {
            if ((fromFile.*get)() != (reader.*get)()) std::abort();
        }
    }
    return 0;
}
