#include "archive/archive_failure.h"

#include <QSqlError>

namespace trellicap::archive {

namespace {

// SQLite's primary result codes (the low byte of an extended code).
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kReadOnly = 8;
constexpr int kIoError = 10;
constexpr int kCorrupt = 11;
constexpr int kFull = 13;
constexpr int kCantOpen = 14;
constexpr int kNotADatabase = 26;
constexpr int kPrimaryMask = 0xFF;

struct KindText {
    FailureKind kind;
    const char* text;
};

KindText kindOf(int code) {
    switch (code & kPrimaryMask) {
        case kBusy:
        case kLocked:
            return {FailureKind::Locked, "the archive is locked by another program"};
        case kReadOnly:
            return {FailureKind::ReadOnly, "the archive file is read-only"};
        case kFull:
            return {FailureKind::Full, "the disk is full"};
        case kIoError:
            return {FailureKind::Disk, "the disk refused to write (full, removed or failing)"};
        case kCantOpen:
            return {FailureKind::ReadOnly, "the archive file cannot be opened for writing"};
        case kCorrupt:
        case kNotADatabase:
            return {FailureKind::Damaged, "the archive file is damaged"};
        default:
            return {FailureKind::Other, "the archive refused the write"};
    }
}

}  // namespace

ArchiveFailure classifyFailure(const QSqlError& error) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    const KindText kind = kindOf(numeric ? code : 0);
    ArchiveFailure failure{kind.kind, QString::fromLatin1(kind.text)};
    const QString words = error.databaseText().trimmed();
    if (!words.isEmpty()) {
        failure.reason += QStringLiteral(" (") + words + QLatin1Char(')');
    }
    return failure;
}

}  // namespace trellicap::archive
