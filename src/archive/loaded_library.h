// Functions of a library that one of Qt's SQL drivers has already loaded, looked up by name
// at run time: the sync's COPY and the cut of a silent connection need libpq's own calls, the
// archive's writer SQLite's, and neither is loaded (or linked) here for that. A library found
// is held for the rest of the process, so that a thread still inside it while the program
// ends never finds it unloaded. POSIX only; elsewhere nothing is found and the callers take
// their Qt Sql routes.
#pragma once

class QSqlDatabase;

namespace trellicap::archive {

// The libpq connection (PGconn*) under a Qt PostgreSQL connection; null for another driver
// or a connection not open.
[[nodiscard]] void* libpqConnectionOf(const QSqlDatabase& db);

// The sqlite3* under a Qt SQLite connection; null for another driver or one not open.
[[nodiscard]] void* sqliteConnectionOf(const QSqlDatabase& db);

// libpq as Qt's PostgreSQL driver loaded it; null while no server connection was made.
[[nodiscard]] void* loadedLibpq();

// The loaded library whose code holds `address` (and through it the libraries it depends
// on); null when there is none.
[[nodiscard]] void* libraryHolding(const void* address);

// `name` in `library`; null when it is not there (or library is null).
[[nodiscard]] void* symbolIn(void* library, const char* name);

template <typename Function>
void lookUp(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(symbolIn(library, name));
}

}  // namespace trellicap::archive
