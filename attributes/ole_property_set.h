// A bounded reader of one OLE property-set stream (the layout of "\005SummaryInformation"
// and "\005DocumentSummaryInformation"): the text of each simple property of the section
// with a given format id. Every offset, count and length is checked against the stream
// before it is used; a damaged property is skipped, a damaged header gives nothing.
// Stateless; safe from any thread.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>

namespace vandrel {

using FormatId = std::array<std::uint8_t, 16>;  // as stored: the GUID's little-endian form

// {F29F85E0-4FF9-1068-AB91-08002B27B3D9}
inline constexpr FormatId kSummaryInformationId = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                                   0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
// {D5CDD502-2E9C-101B-9397-08002B2CF9AE}
inline constexpr FormatId kDocSummaryInformationId = {
    0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10, 0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

// Property ids read by Vandrel.
inline constexpr std::uint32_t kPidTitle = 2;
inline constexpr std::uint32_t kPidSubject = 3;
inline constexpr std::uint32_t kPidAuthor = 4;
inline constexpr std::uint32_t kPidRevNumber = 9;
inline constexpr std::uint32_t kPidCategory = 2;  // in the document summary set
inline constexpr std::uint32_t kPidCompany = 15;  // in the document summary set

// Property id -> text, for the strings (8-bit in the set's code page, or UTF-16) and
// integers of the first section whose format id is fmtid; vectors, blobs, dates and other
// kinds are left out. Strings end at their first NUL. nullopt when the stream has no such
// section or its header is damaged.
std::optional<std::map<std::uint32_t, QString>> ReadPropertySet(QByteArrayView stream,
                                                                const FormatId& fmtid);

}  // namespace vandrel
