// The team server's tables: the archive's own schema, the same migrations as every PC's
// archive.sqlite, in which the server's own tables (which laptop and which working folder
// sent each record version, and which inspector's role stored it) are the PostgreSQL-only
// statements; and the free-text search's trigram index where the server allows it.
#pragma once

#include <QString>

class QSqlDatabase;

namespace trellicap::archive {

// Brings the server's database to the current schema. Several laptops may come back at the
// same moment: the migration runs under a server-wide lock. When the database belongs to a
// group role the inspector is a member of, the tables are made as that role, so every
// inspector of the office can write into them. Returns why it failed, or an empty text.
[[nodiscard]] QString prepareServerSchema(QSqlDatabase& server);

}  // namespace trellicap::archive
