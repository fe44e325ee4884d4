// Summary properties of an OLE2 compound document (.doc, .xls, .ppt, .vsd, .mpp): the
// SummaryInformation and DocumentSummaryInformation property sets; libgsf opens the
// compound file, the property sets are read by ole_property_set.h. libgsf is loaded by the
// first read (gsf_library.h): without it every read gives nullopt.
// The file is only read, never written. Stateless apart from libgsf's one-time set-up;
// safe to call from one thread at a time per process.
#pragma once

#include <QString>
#include <cstddef>
#include <optional>

namespace vandrel {

struct OfficeProperties {
    QString title;     // SummaryInformation: Title
    QString subject;   // SummaryInformation: Subject
    QString author;    // SummaryInformation: Author
    QString revision;  // SummaryInformation: Revision number
    QString category;  // DocumentSummaryInformation: Category
    QString company;   // DocumentSummaryInformation: Company
};

// Reads the properties of the compound document at path. A property that is missing
// stays empty. nullopt when the file cannot be opened or does not start with the OLE2
// signature, when the container itself cannot be parsed, or when libgsf cannot be
// loaded on this machine; a damaged property set
// gives the properties read before the damage (possibly none). Never throws.
std::optional<OfficeProperties> ReadOfficeProperties(const QString& path);

// The same for a document held in memory (data is not copied and must outlive the call).
std::optional<OfficeProperties> ReadOfficePropertiesFromMemory(const unsigned char* data,
                                                               std::size_t size);

// True when the bytes begin with the OLE2 compound file signature D0 CF 11 E0 A1 B1 1A E1.
bool HasOle2Signature(const unsigned char* data, std::size_t size);

}  // namespace vandrel
