// The team server opened for reading only: every transaction of the session starts
// read-only (default_transaction_read_only, set in the connection's own start-up options so
// that no statement runs before it), with a bound on how long one statement may run.
#pragma once

#include "archive/read_only_archive.h"
#include "archive/server_address.h"

namespace trellicap::archive {

inline constexpr int kReadStatementTimeoutMs = 15000;

class ReadOnlyServer final : public ReadOnlyArchive {
public:
    explicit ReadOnlyServer(ServerAddress address) : m_address(std::move(address)) {}

private:
    bool configure(QSqlDatabase& db, QString* error) override;
    bool enforceReadOnly(QSqlDatabase& db, QString* error) override;
    [[nodiscard]] QString driver() const override { return QString::fromLatin1(kServerDriver); }
    [[nodiscard]] QString describe() const override;

    ServerAddress m_address;
};

}  // namespace trellicap::archive
