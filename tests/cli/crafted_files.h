// Two record files the tests read: per model two marked slots with settings, a time and date,
// readouts, header texts, samples and DAC points, and one slot whose record names another
// slot (not marked). Everything else is the table as the window starts it.
#pragma once

#include <QDir>
#include <QString>

#include "cli_fixture.h"
#include "profiles/dac.h"
#include "profiles/tft.h"

namespace trellicap::testing {

// TFT slot 3: everything readable; the header has a comma, quotes and Windows-1252 letters.
inline const CraftedSlot kTftSlot3{
    3,
    {{"txtzero", "108"},
     {"txtrange", "100"},
     {"txtvelo", "5920"},
     {"txtdelay", "0.0"},
     {"txtgain", "45.5"},
     {"txtgate", "ON"},
     {"txtstart", "30%"},
     {"txtend", "40%"},
     {"txtlevel", "50%"},
     {"txtgate2", "OFF"},
     {"txtmemno", "003"},
     {"txtclock", "ON"},
     {"txtdac", "ON"},
     {"txtmea", "ON"},
     {"txtbeam", "50.9"},
     {"txtsurf", "41.2"},
     {"txtdpth", "29.4"}},
    "0650010213",
    {"A. Example", "Shop, \"North\"", "Axle 7/123", QString::fromUtf8("Weld \u00e9 \u20ac")},
    0,
    {20, 80, 100, 60, 200, 40, 230, 2}};

// TFT slot 7: MEASURE off empties the readouts, an hour 99 is no time, no header, no curve.
inline const CraftedSlot kTftSlot7{7,
                                   {{"txtrange", "250"},
                                    {"txtdelay", "10.0"},
                                    {"txtgain", "12.0"},
                                    {"txtgate", "DAC -6 "},
                                    {"txtmemno", "007"},
                                    {"txtmea", "OFF    "},
                                    {"txtbeam", "11.1"}},
                                   "9999999999",
                                   {},
                                   50,
                                   {0, 0}};

// TFT slot 5 names slot 1: it holds a record, but the load does not mark it.
inline const CraftedSlot kTftSlot5{
    5, {{"txtrange", "50"}, {"txtmemno", "001"}}, "1200311224", {}, 20, {0, 0}};

// DAC slot 2: blanks for leading zeros in the time and date, the three-curve DAC text.
inline const CraftedSlot kDacSlot2{
    2,
    {{"txtzero", "97"},
     {"txtrange", "125"},
     {"txtdelay", "2.5"},
     {"txtgain", "30.0"},
     {"txtgate", "ON"},
     {"txtstart", "20%"},
     {"txtend", "30%"},
     {"txtlevel", "60%"},
     {"txtbeep", "ON"},
     {"txtcontrast", "40"},
     {"txtmemno", "002"},
     {"txtmea", "ON"},
     {"txtbeam", "7.5"},
     {"txtsurf", "6.0"},
     {"txtdpth", "4.5"},
     {"txtdac", "ON 6/12"}},
    " 7550104 3",
    {QString::fromUtf8("J. M\u00fcller"), "JOB-42", "Remark with \"quotes\", comma"},
    10,
    {10, 90, 60, 70, 120, 50, 180, 30, 240, 3}};

// DAC slot 150: an hour 24 is no time; only the job number is filled in.
inline const CraftedSlot kDacSlot150{
    150, {{"txtrange", "50"}, {"txtmemno", "150"}}, "2460010113", {"", "JOB-43", ""}, 77, {0, 0}};

inline QString writeTftFile(const QDir& dir) {
    RecordStore store(tft::kProfile);
    store.initMemoryTable();
    for (const CraftedSlot* slot : {&kTftSlot3, &kTftSlot7, &kTftSlot5}) {
        craft(store, *slot);
    }
    const QString path = dir.filePath(QStringLiteral("tft.dat"));
    writeFile(store, path);
    return path;
}

inline QString writeDacFile(const QDir& dir) {
    RecordStore store(dac::kProfile);
    store.initMemoryTable();
    for (const CraftedSlot* slot : {&kDacSlot2, &kDacSlot150}) {
        craft(store, *slot);
    }
    const QString path = dir.filePath(QStringLiteral("dac.dat"));
    writeFile(store, path);
    return path;
}

}  // namespace trellicap::testing
