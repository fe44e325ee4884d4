// libgsf, and the GLib calls that go with it, loaded on first use instead of linked: most
// runs of Vandrel never read an office document, and the library with what it pulls in
// would cost every start time and memory. Each function's type comes from libgsf's and
// GLib's own headers, so a changed prototype fails to compile. When the library (or one of
// its functions) cannot be loaded, Get() is null and the office attributes are simply
// absent: never a crash. Internal to attributes/; thread-safe.
#pragma once

#include <glib-object.h>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-msole-utils.h>
#include <gsf/gsf-utils.h>

#include <QString>
#include <memory>

namespace vandrel {

class SharedLibrary;

class GsfLibrary {
  public:
    // The library, loaded and set up (gsf_init, its log messages silenced) by the first
    // call; null when it cannot be loaded, decided once for the whole run. The object
    // lives to the end of the process.
    static const GsfLibrary* Get();

    // Loads the library by file name, without the set-up: null when it or one of the
    // functions below is missing; *error then says why. Get() uses the soname found when
    // Vandrel was built; tests hand in others.
    static std::unique_ptr<GsfLibrary> Load(const char* fileName, QString* error);

    ~GsfLibrary();
    GsfLibrary(const GsfLibrary&) = delete;
    GsfLibrary& operator=(const GsfLibrary&) = delete;

    // libgsf
    decltype(&::gsf_init) init = nullptr;
    decltype(&::gsf_input_stdio_new) inputStdioNew = nullptr;
    decltype(&::gsf_input_memory_new) inputMemoryNew = nullptr;
    decltype(&::gsf_input_size) inputSize = nullptr;
    decltype(&::gsf_input_read) inputRead = nullptr;
    decltype(&::gsf_infile_msole_new) infileMsoleNew = nullptr;
    decltype(&::gsf_infile_child_by_name) infileChildByName = nullptr;
    decltype(&::gsf_msole_iconv_open_for_import) msoleIconvOpenForImport = nullptr;
    // GLib and GObject, found through libgsf, which depends on them
    decltype(&::g_object_unref) objectUnref = nullptr;
    decltype(&::g_error_free) errorFree = nullptr;
    decltype(&::g_free) free = nullptr;
    decltype(&::g_log_set_handler) logSetHandler = nullptr;
    decltype(&::g_convert_with_iconv) convertWithIconv = nullptr;
    decltype(&::g_iconv_close) iconvClose = nullptr;

  private:
    GsfLibrary() = default;
    std::unique_ptr<SharedLibrary> library_;
};

}  // namespace vandrel
