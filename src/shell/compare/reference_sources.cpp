#include "shell/compare/reference_sources.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "storage/record_file_io.h"

namespace trellicap {

namespace {

QString slotName(int column) {
    return QStringLiteral("Mem %1").arg(column + 1);
}

QString trSources(const char* text) {
    return QCoreApplication::translate("ReferenceSources", text);
}

}  // namespace

ReferenceTrace referenceFromMemory(const RecordStore& store, int column) {
    return referenceFromRecord(store.profile(), slotName(column), store.column(column));
}

std::variant<ReferenceTrace, UserMessage> referenceFromFile(const ModelProfile& profile,
                                                            const QString& path, int column) {
    RecordStore file(profile);
    file.initMemoryTable();
    file.prefillForLoad();
    const LoadResult result = loadRecordFile(path, file);
    const QString title = trSources("Compare with");
    if (!result.tableChanged()) {
        return UserMessage(title, trSources("The record file %1 cannot be opened.").arg(path),
                           result.systemError);
    }
    // The file holds the slots one after the other: the slot is whole when the load got past
    // its last value.
    const int perSlot = result.valuesExpected / kSlotCount;
    if (result.stop != LoadResult::Stop::Complete && result.valuesRead < perSlot * (column + 1)) {
        return UserMessage(title,
                           trSources("The record file %1 ends before Mem %2 is complete.")
                               .arg(path)
                               .arg(column + 1),
                           trSources("%1 of %2 values could be read.")
                               .arg(result.valuesRead)
                               .arg(result.valuesExpected));
    }
    return referenceFromRecord(profile,
                               QFileInfo(path).fileName() + QLatin1Char(' ') + slotName(column),
                               file.column(column));
}

}  // namespace trellicap
