// The yardstick a load is measured against: the same bytes parsed the plainest way, without
// a single check (blanks skipped, an optional minus, digits), into the table's file rows.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <vector>

#include "record/record_store.h"

namespace trellicap::bench {

void naiveParse(QByteArrayView bytes, RecordStore& store);

// The whole file read with one fread into bytes (kept across calls), then naiveParse.
void naiveLoad(const QString& path, std::vector<char>& bytes, RecordStore& store);

}  // namespace trellicap::bench
