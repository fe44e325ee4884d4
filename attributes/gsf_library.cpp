#include "attributes/gsf_library.h"

#include <QtGlobal>
#include <initializer_list>
#include <mutex>

#include "platform/shared_library.h"

namespace vandrel {

namespace {

template <typename F>
bool Resolve(const SharedLibrary& library, F& function, const char* name, QString* missing) {
    function = library.function<F>(name);
    if (!function && missing->isEmpty()) *missing = QString::fromLatin1(name);
    return function != nullptr;
}

// libgsf reports damaged streams through g_warning and g_critical; a damaged document is
// an ordinary event here (it gives the placeholders), so that chatter is dropped rather
// than printed on every read of the same file. libgsf logs partly under its own domains and
// partly under none; nothing else in Vandrel logs through GLib.
void DropGsfMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

}  // namespace

GsfLibrary::~GsfLibrary() = default;

std::unique_ptr<GsfLibrary> GsfLibrary::Load(const char* fileName, QString* error) {
    auto library = std::make_unique<SharedLibrary>(fileName);
    if (!library->isLoaded()) {
        if (error) *error = library->error();
        return nullptr;
    }
    std::unique_ptr<GsfLibrary> gsf(new GsfLibrary);
    QString missing;
    const SharedLibrary& l = *library;
    Resolve(l, gsf->init, "gsf_init", &missing);
    Resolve(l, gsf->inputStdioNew, "gsf_input_stdio_new", &missing);
    Resolve(l, gsf->inputMemoryNew, "gsf_input_memory_new", &missing);
    Resolve(l, gsf->inputSize, "gsf_input_size", &missing);
    Resolve(l, gsf->inputRead, "gsf_input_read", &missing);
    Resolve(l, gsf->infileMsoleNew, "gsf_infile_msole_new", &missing);
    Resolve(l, gsf->infileChildByName, "gsf_infile_child_by_name", &missing);
    Resolve(l, gsf->msoleIconvOpenForImport, "gsf_msole_iconv_open_for_import", &missing);
    Resolve(l, gsf->objectUnref, "g_object_unref", &missing);
    Resolve(l, gsf->errorFree, "g_error_free", &missing);
    Resolve(l, gsf->free, "g_free", &missing);
    Resolve(l, gsf->logSetHandler, "g_log_set_handler", &missing);
    Resolve(l, gsf->convertWithIconv, "g_convert_with_iconv", &missing);
    Resolve(l, gsf->iconvClose, "g_iconv_close", &missing);
    if (!missing.isEmpty()) {
        if (error) *error = QStringLiteral("%1 has no %2").arg(QLatin1String(fileName), missing);
        return nullptr;
    }
    gsf->library_ = std::move(library);
    return gsf;
}

const GsfLibrary* GsfLibrary::Get() {
    // Never deleted: a reader on another thread may still use it while the program ends.
    static GsfLibrary* instance = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        QString why;
        std::unique_ptr<GsfLibrary> gsf = Load(VANDREL_GSF_SONAME, &why);
        if (!gsf) {
            qWarning("vandrel: office document properties cannot be read: %s", qPrintable(why));
            return;
        }
        gsf->init();
        const auto levels =
            static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING |
                                        G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG);
        for (const char* domain : {static_cast<const char*>(nullptr), "libgsf", "libgsf:msole"})
            gsf->logSetHandler(domain, levels, DropGsfMessage, nullptr);
        instance = gsf.release();
    });
    return instance;
}

}  // namespace vandrel
