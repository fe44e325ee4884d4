#include "platform/shared_library.h"

#include <dlfcn.h>

namespace vandrel {

SharedLibrary::SharedLibrary(const char* fileName) {
    // RTLD_LOCAL keeps its names out of the program's own lookups; RTLD_NODELETE keeps
    // it mapped after dlclose, since objects it made may outlive this handle.
    handle_ = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle_) {
        const char* why = ::dlerror();
        error_ = why ? QString::fromLocal8Bit(why)
                     : QStringLiteral("%1 cannot be loaded").arg(QLatin1String(fileName));
    }
}

SharedLibrary::~SharedLibrary() {
    if (handle_) ::dlclose(handle_);
}

void* SharedLibrary::symbol(const char* name) const {
    return handle_ ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace vandrel
