// libFuzzer target: the OLE2 compound-document summary-property reader behind the
// office.* attributes. Any input must return (values or nothing) without crashing,
// leaking or hanging.
#include <cstddef>
#include <cstdint>

#include "attributes/office_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto props = vandrel::ReadOfficePropertiesFromMemory(data, size);
    if (props) {
        volatile qsizetype n = props->title.size() + props->subject.size() + props->author.size() +
                               props->revision.size() + props->category.size() +
                               props->company.size();
        (void)n;
    }
    return 0;
}
