// libgsf is loaded on first use, not linked: a library that is missing, or that lacks one
// of the functions the readers call, gives no reader (the office attributes are then
// absent) and says why, instead of a crash at the first call.
#include "attributes/gsf_library.h"

#include <gtest/gtest.h>

namespace vandrel {
namespace {

TEST(GsfLibrary, OnlyACompleteLibraryIsUsed) {
    const struct {
        const char* name;
        const char* fileName;
        bool loads;
        const char* why;  // part of the reason when it does not load
    } cases[] = {
        {"the library Vandrel was built against", VANDREL_GSF_SONAME, true, ""},
        {"a library that is not there", "libvandrel-not-there.so.9", false, "not-there"},
        {"a library without libgsf's functions", "libc.so.6", false, "has no gsf_init"},
    };
    for (const auto& c : cases) {
        QString why;
        const std::unique_ptr<GsfLibrary> gsf = GsfLibrary::Load(c.fileName, &why);
        EXPECT_EQ(gsf != nullptr, c.loads) << c.name << ": " << why.toStdString();
        EXPECT_TRUE(why.contains(QLatin1String(c.why))) << c.name << ": " << why.toStdString();
    }
    EXPECT_NE(GsfLibrary::Get(), nullptr);
}

}  // namespace
}  // namespace vandrel
