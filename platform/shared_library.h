// A shared library loaded while the program runs (dlopen), for a dependency that most
// runs never need: the program starts without it and pays for it on first use only.
// Once loaded, the library stays in the process to its end (libraries that register
// types with GLib cannot be unloaded safely). Safe to use from any thread once made.
#pragma once

#include <QString>

namespace vandrel {

class SharedLibrary {
  public:
    // Loads the library by file name (its soname, "libgsf-1.so.114"), looked up as the
    // dynamic loader does. Not loaded when it is missing or cannot be loaded: isLoaded()
    // is false and error() says why.
    explicit SharedLibrary(const char* fileName);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool isLoaded() const { return handle_ != nullptr; }
    const QString& error() const { return error_; }

    // The address of a function or object named name, in the library or in one it
    // depends on; null when there is none (or the library is not loaded).
    void* symbol(const char* name) const;

    // The same as a pointer to the function type of F: function<decltype(&g_free)>("g_free").
    template <typename F>
    F function(const char* name) const {
        return reinterpret_cast<F>(symbol(name));
    }

  private:
    void* handle_ = nullptr;
    QString error_;
};

}  // namespace vandrel
