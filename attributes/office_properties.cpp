#include "attributes/office_properties.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <memory>

#include "attributes/gsf_library.h"
#include "attributes/ole_property_set.h"

namespace vandrel {

namespace {

constexpr unsigned char kOle2Signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Drops a reference to a libgsf object.
class GObjectUnref {
  public:
    explicit GObjectUnref(const GsfLibrary* gsf = nullptr) : gsf_(gsf) {}
    void operator()(gpointer p) const {
        if (p) gsf_->objectUnref(p);
    }

  private:
    const GsfLibrary* gsf_;
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

// Property sets are a few hundred bytes; a stream claiming more than this is read only up
// to here (what lies beyond is treated as missing).
constexpr gsf_off_t kMaxPropertySetBytes = 1 << 20;

// The bytes of one stream of the compound file; empty when it is missing or unreadable.
QByteArray StreamBytes(const GsfLibrary& gsf, GsfInfile* ole, const char* streamName) {
    GPtr<GsfInput> stream(gsf.infileChildByName(ole, streamName), GObjectUnref(&gsf));
    if (!stream) return {};
    const gsf_off_t size = std::min(gsf.inputSize(stream.get()), kMaxPropertySetBytes);
    if (size <= 0) return {};
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (!gsf.inputRead(stream.get(), static_cast<size_t>(size),
                       reinterpret_cast<guint8*>(bytes.data())))
        return {};
    return bytes;
}

QString Text(const std::optional<std::map<std::uint32_t, QString>>& set, std::uint32_t pid) {
    if (!set) return {};
    const auto it = set->find(pid);
    return it == set->end() ? QString() : it->second;
}

std::optional<OfficeProperties> ReadFromInput(const GsfLibrary& gsf, GsfInput* input) {
    GError* err = nullptr;
    GPtr<GsfInfile> ole(gsf.infileMsoleNew(input, &err), GObjectUnref(&gsf));
    if (err) gsf.errorFree(err);
    if (!ole) return std::nullopt;

    // libgsf gives the container; the property sets are read by our own bounded reader
    // (libgsf's own property parser leaks on damaged strings).
    const auto summary = ReadPropertySet(StreamBytes(gsf, ole.get(), "\005SummaryInformation"),
                                         kSummaryInformationId);
    const auto docSummary = ReadPropertySet(
        StreamBytes(gsf, ole.get(), "\005DocumentSummaryInformation"), kDocSummaryInformationId);
    OfficeProperties props;
    props.title = Text(summary, kPidTitle);
    props.subject = Text(summary, kPidSubject);
    props.author = Text(summary, kPidAuthor);
    props.revision = Text(summary, kPidRevNumber);
    props.category = Text(docSummary, kPidCategory);
    props.company = Text(docSummary, kPidCompany);
    return props;
}

// The first entry of a compound file's directory is its root storage, and the root has no
// siblings. libgsf accepts directories that break either rule and leaks the entries it
// built without a parent; such files are refused here. readAt(offset, count) gives the
// bytes at offset, or fewer at the end.
template <typename ReadAt>
bool StartsWithRootEntry(ReadAt readAt) {
    const QByteArray header = readAt(0, 512);
    if (header.size() < 512) return false;
    const auto* h = reinterpret_cast<const unsigned char*>(header.constData());
    const unsigned shift = h[30] | h[31] << 8;
    if (shift != 9 && shift != 12) return false;  // 512- or 4096-byte sectors only
    const quint64 dirSector =
        quint64(h[48]) | quint64(h[49]) << 8 | quint64(h[50]) << 16 | quint64(h[51]) << 24;
    if (dirSector >= 0xFFFFFFFAu) return false;  // a special marker, not a sector
    const QByteArray entry = readAt((dirSector + 1) << shift, 128);
    if (entry.size() != 128 || entry.at(66) != 5) return false;
    const QByteArray noStream(8, '\xFF');  // left and right sibling ids both NOSTREAM
    return entry.mid(68, 8) == noStream;
}

}  // namespace

bool HasOle2Signature(const unsigned char* data, std::size_t size) {
    return data && size >= sizeof kOle2Signature &&
           std::memcmp(data, kOle2Signature, sizeof kOle2Signature) == 0;
}

std::optional<OfficeProperties> ReadOfficeProperties(const QString& path) {
    // Look at the signature ourselves first: anything else named .doc (a text file, an
    // RTF saved as .doc) is not handed to the container parser at all.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    unsigned char head[sizeof kOle2Signature];
    if (file.read(reinterpret_cast<char*>(head), sizeof head) != sizeof head ||
        !HasOle2Signature(head, sizeof head))
        return std::nullopt;
    if (!StartsWithRootEntry([&file](quint64 offset, qint64 count) {
            return file.seek(static_cast<qint64>(offset)) ? file.read(count) : QByteArray();
        }))
        return std::nullopt;
    file.close();

    const GsfLibrary* gsf = GsfLibrary::Get();
    if (!gsf) return std::nullopt;
    GError* err = nullptr;
    GPtr<GsfInput> input(gsf->inputStdioNew(QFile::encodeName(path).constData(), &err),
                         GObjectUnref(gsf));
    if (err) gsf->errorFree(err);
    if (!input) return std::nullopt;
    return ReadFromInput(*gsf, input.get());
}

std::optional<OfficeProperties> ReadOfficePropertiesFromMemory(const unsigned char* data,
                                                               std::size_t size) {
    if (!HasOle2Signature(data, size)) return std::nullopt;
    if (!StartsWithRootEntry([data, size](quint64 offset, qint64 count) {
            if (offset >= size) return QByteArray();
            const std::size_t n =
                std::min<std::size_t>(static_cast<std::size_t>(count), size - offset);
            return QByteArray(reinterpret_cast<const char*>(data + offset),
                              static_cast<qsizetype>(n));
        }))
        return std::nullopt;
    const GsfLibrary* gsf = GsfLibrary::Get();
    if (!gsf) return std::nullopt;
    GPtr<GsfInput> input(gsf->inputMemoryNew(data, static_cast<gsf_off_t>(size), FALSE),
                         GObjectUnref(gsf));
    if (!input) return std::nullopt;
    return ReadFromInput(*gsf, input.get());
}

}  // namespace vandrel
