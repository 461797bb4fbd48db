#include "archive/loaded_library.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <atomic>
#include <initializer_list>

#ifdef Q_OS_UNIX
#include <dlfcn.h>
#endif

namespace trellicap::archive {

namespace {

// The driver's own handle when Qt names its type as one of `types`.
void* driverHandle(const QSqlDatabase& db, std::initializer_list<const char*> types) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid()) {
        return nullptr;
    }
    for (const char* type : types) {
        if (qstrcmp(handle.typeName(), type) == 0) {
            return *static_cast<void* const*>(handle.constData());
        }
    }
    return nullptr;
}

}  // namespace

void* libpqConnectionOf(const QSqlDatabase& db) {
    // Qt names the handle's type by libpq's struct: "pg_conn*" (PGconn* in libpq's words).
    return driverHandle(db, {"pg_conn*", "PGconn*"});
}

void* sqliteConnectionOf(const QSqlDatabase& db) {
    return driverHandle(db, {"sqlite3*"});
}

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
