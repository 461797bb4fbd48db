#include "storage/record_file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "storage/record_file_writer.h"

namespace trellicap {

namespace {

constexpr qint64 kReadChunkBytes = 64 * 1024;

LoadResult cannotOpen(const RecordStore& store, const QString& reason) {
    LoadResult result;
    result.stop = LoadResult::Stop::CannotOpen;
    result.systemError = reason;
    result.valuesExpected = store.profile().fileRows.count() * kSlotCount;
    return result;
}

}  // namespace

std::optional<QString> saveRecordFile(const QString& path, const RecordStore& store,
                                      SaveMedium& medium) {
    if (const auto cell = firstUnstorableValue(store)) {
        return QStringLiteral(
                   "slot %1 holds the value %2 at row %3; a record file stores only -99 to 999")
            .arg(cell->column + 1)
            .arg(cell->value)
            .arg(cell->row);
    }
    // QSaveFile would try to rename its temporary file over the folder.
    if (QFileInfo(path).isDir()) {
        return QStringLiteral("it is a folder");
    }
    const QByteArray bytes = writeRecordFile(store);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (const auto reason = writeWhole(file, bytes, medium)) {
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

LoadResult loadRecordFile(const QString& path, RecordStore& store) {
    // Opening a folder for reading succeeds on some systems and then reads nothing.
    if (QFileInfo(path).isDir()) {
        return cannotOpen(store, QStringLiteral("it is a folder"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return cannotOpen(store, file.errorString());
    }
    store.prefillForLoad();
    RecordFileReader reader(store);
    bool wantsMore = true;
    while (wantsMore) {
        const QByteArray chunk = file.read(kReadChunkBytes);
        if (chunk.isEmpty()) {
            break;
        }
        wantsMore = reader.feed(chunk);
    }
    LoadResult result = reader.finish();
    if (result.stop == LoadResult::Stop::EarlyEnd && file.error() != QFileDevice::NoError) {
        result.stop = LoadResult::Stop::ReadError;
        result.systemError = file.errorString();
    }
    return result;
}

}  // namespace trellicap
