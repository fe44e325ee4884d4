// Test-only helper program: writes its arguments, each followed by a NUL byte, to the
// file named by VANDREL_ARGV_DUMP (written under a temporary name, then renamed, so a
// reader never sees half of it).
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const char* target = std::getenv("VANDREL_ARGV_DUMP");
    if (!target) return 2;
    const std::string tmp = std::string(target) + ".part";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return 3;
    for (int i = 1; i < argc; ++i) {
        std::fputs(argv[i], f);
        std::fputc('\0', f);
    }
    if (std::fclose(f) != 0) return 4;
    return std::rename(tmp.c_str(), target) == 0 ? 0 : 5;
}
