#include "attributes/office_properties.h"

#include <gsf/gsf-doc-meta-data.h>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-meta-names.h>
#include <gsf/gsf-msole-utils.h>
#include <gsf/gsf-utils.h>

#include <QFile>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <mutex>

namespace vandrel {

namespace {

constexpr unsigned char kOle2Signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

struct GObjectUnref {
    void operator()(gpointer p) const {
        if (p) g_object_unref(p);
    }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

// libgsf reports damaged streams through g_warning and g_critical; a damaged document is
// an ordinary event here (it gives the placeholders), so that chatter is dropped rather
// than printed on every read of the same file. Only libgsf's own domains are touched.
void DropGsfMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void InitGsfOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        const auto levels =
            static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING |
                                        G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG);
        for (const char* domain : {"libgsf", "libgsf:msole"})
            g_log_set_handler(domain, levels, DropGsfMessage, nullptr);
    });
}

QString PropertyText(GsfDocMetaData* meta, const char* name) {
    GsfDocProp* prop = gsf_doc_meta_data_lookup(meta, name);
    if (!prop) return {};
    const GValue* value = gsf_doc_prop_get_val(prop);
    if (!value) return {};
    if (G_VALUE_HOLDS_STRING(value)) return QString::fromUtf8(g_value_get_string(value));
    // A revision stored as a number (some writers use VT_I4) reads as its decimal text.
    if (!g_value_type_transformable(G_VALUE_TYPE(value), G_TYPE_STRING)) return {};
    GValue text = G_VALUE_INIT;
    g_value_init(&text, G_TYPE_STRING);
    QString result;
    if (g_value_transform(value, &text)) result = QString::fromUtf8(g_value_get_string(&text));
    g_value_unset(&text);
    return result;
}

// Reads one property-set stream into meta; a missing or damaged stream adds nothing.
void ReadPropertySet(GsfInfile* ole, const char* streamName, GsfDocMetaData* meta) {
    GPtr<GsfInput> stream(gsf_infile_child_by_name(ole, streamName));
    if (!stream) return;
    if (GError* err = gsf_doc_meta_data_read_from_msole(meta, stream.get())) g_error_free(err);
}

std::optional<OfficeProperties> ReadFromInput(GsfInput* input) {
    GError* err = nullptr;
    GPtr<GsfInfile> ole(gsf_infile_msole_new(input, &err));
    if (err) g_error_free(err);
    if (!ole) return std::nullopt;

    // Both sets go into one metadata object: their names do not overlap.
    GPtr<GsfDocMetaData> meta(gsf_doc_meta_data_new());
    ReadPropertySet(ole.get(), "\005SummaryInformation", meta.get());
    ReadPropertySet(ole.get(), "\005DocumentSummaryInformation", meta.get());

    OfficeProperties props;
    props.title = PropertyText(meta.get(), GSF_META_NAME_TITLE);
    props.subject = PropertyText(meta.get(), GSF_META_NAME_SUBJECT);
    props.author = PropertyText(meta.get(), GSF_META_NAME_CREATOR);
    props.revision = PropertyText(meta.get(), GSF_META_NAME_REVISION_COUNT);
    props.category = PropertyText(meta.get(), GSF_META_NAME_CATEGORY);
    props.company = PropertyText(meta.get(), GSF_META_NAME_COMPANY);
    return props;
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
    file.close();

    InitGsfOnce();
    GError* err = nullptr;
    GPtr<GsfInput> input(gsf_input_stdio_new(QFile::encodeName(path).constData(), &err));
    if (err) g_error_free(err);
    if (!input) return std::nullopt;
    return ReadFromInput(input.get());
}

std::optional<OfficeProperties> ReadOfficePropertiesFromMemory(const unsigned char* data,
                                                               std::size_t size) {
    if (!HasOle2Signature(data, size)) return std::nullopt;
    InitGsfOnce();
    GPtr<GsfInput> input(gsf_input_memory_new(data, static_cast<gsf_off_t>(size), FALSE));
    if (!input) return std::nullopt;
    return ReadFromInput(input.get());
}

}  // namespace vandrel
