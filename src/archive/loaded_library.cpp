#include "archive/loaded_library.h"

#include <QtGlobal>
#include <atomic>

#ifdef Q_OS_UNIX
#include <dlfcn.h>
#endif

namespace trellicap::archive {

#ifdef Q_OS_UNIX

void* loadedLibpq() {
    static std::atomic<void*> held{nullptr};
    if (void* known = held.load()) {
        return known;
    }
    for (const char* name : {"libpq.so.5", "libpq.5.dylib", "libpq.so", "libpq.dylib"}) {
        // RTLD_NOLOAD: found only when the driver loaded it; the extra reference keeps it.
        if (void* library = dlopen(name, RTLD_NOW | RTLD_NOLOAD)) {
            void* expected = nullptr;
            if (!held.compare_exchange_strong(expected, library)) {
                dlclose(library);  // another thread holds it already
                return expected;
            }
            return library;
        }
    }
    return nullptr;
}

void* libraryHolding(const void* address) {
    Dl_info where{};
    if (address == nullptr || dladdr(address, &where) == 0 || where.dli_fname == nullptr) {
        return nullptr;
    }
    return dlopen(where.dli_fname, RTLD_NOW | RTLD_NOLOAD);
}

void* symbolIn(void* library, const char* name) {
    return library ? dlsym(library, name) : nullptr;
}

#else

void* loadedLibpq() {
    return nullptr;
}

void* libraryHolding(const void*) {
    return nullptr;
}

void* symbolIn(void*, const char*) {
    return nullptr;
}

#endif

}  // namespace trellicap::archive
