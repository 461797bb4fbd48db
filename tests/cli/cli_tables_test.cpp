// csv and json on files the writer produced: every setting under its panel label as the
// panel shows it, the time and date, readouts, header fields and samples, exactly.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <map>

#include "crafted_files.h"

namespace trellicap {
namespace {

using testing::readAll;
using testing::runCli;

const QStringList kTftHeading = {"slot",
                                 "ZERO",
                                 "RANGE",
                                 "VEL M/S",
                                 "DELAY",
                                 "GATE 1",
                                 "GATE 1 START",
                                 "GATE 1 END",
                                 "GATE 1 LEVEL",
                                 "GATE 2",
                                 "GATE 2 START",
                                 "GATE 2 END",
                                 "GATE 2 LEVEL",
                                 "MEM",
                                 "MEM NO",
                                 "ACTION",
                                 "REJECT",
                                 "SET REF",
                                 "VIDEO",
                                 "MODE",
                                 "CLOCK",
                                 "COLOR",
                                 "HORN",
                                 "BRIGHT",
                                 "DAC",
                                 "CURSOR",
                                 "POINT",
                                 "PRESS",
                                 "MEASURE",
                                 "X-OFF",
                                 "ANGLE",
                                 "THICK",
                                 "Unlabelled setting 1",
                                 "HUD",
                                 "BEEP",
                                 "Unlabelled setting 2",
                                 "Gain",
                                 "REF",
                                 "time_date",
                                 "Beam Path",
                                 "Surface",
                                 "Depth",
                                 "Operator",
                                 "Railway/Workshop",
                                 "Type of Axle/No",
                                 "Defect Location"};

const QStringList kDacHeading = {
    "slot",         "ZERO",       "RANGE",        "VEL M/S",   "DELAY",        "GATE 1",
    "GATE 1 START", "GATE 1 END", "GATE 1 LEVEL", "GATE 2",    "GATE 2 START", "GATE 2 END",
    "GATE 2 LEVEL", "MEM",        "MEM NO",       "ACTION",    "REJECT",       "SET REF",
    "VIDEO",        "MODE",       "CLOCK",        "BACKLIT",   "HORN",         "CONTRST",
    "DAC",          "CURSOR",     "POINT",        "PRESS",     "MEASURE",      "HUD",
    "ANGLE",        "THICK",      "Gain",         "time_date", "Beam Path",    "Surface",
    "Depth",        "Operator",   "Job No",       "Remark"};

using Row = std::map<QString, QString>;

// The gate peaks, after every other column.
const QStringList kPeakHeading = {"gate1_peak_pct", "gate1_peak_path", "gate2_peak_pct",
                                  "gate2_peak_path"};

// The numbers, after the peaks.
const QStringList kNumberHeading = {
    "gain_db",         "range_mm",        "delay_mm",        "gate1_start_pct", "gate1_width_pct",
    "gate1_level_pct", "gate2_start_pct", "gate2_width_pct", "gate2_level_pct", "angle_deg",
    "depth_mm",        "surface_mm",      "level_db",        "dac_pct",         "result"};

// What the panel shows, by column; every column not named is empty.
const Row kTft3 = {{"slot", "3"},
                   {"ZERO", "108"},
                   {"RANGE", "100"},
                   {"VEL M/S", "5920"},
                   {"DELAY", "0.0"},
                   {"GATE 1", "ON"},
                   {"GATE 1 START", "30%"},
                   {"GATE 1 END", "40%"},
                   {"GATE 1 LEVEL", "50%"},
                   {"GATE 2", "OFF"},
                   {"MEM NO", "003"},
                   {"CLOCK", "ON"},
                   {"DAC", "ON"},
                   {"MEASURE", "ON"},
                   {"Gain", "45.5 dB"},  // five codes shown, then the unit
                   {"time_date", "2013-02-01T06:50"},
                   {"Beam Path", "50.9"},
                   {"Surface", "41.2"},
                   {"Depth", "29.4"},
                   {"Operator", "A. Example"},
                   {"Railway/Workshop", "Shop, \"North\""},
                   {"Type of Axle/No", "Axle 7/123"},
                   {"Defect Location", QString::fromUtf8("Weld \u00e9 \u20ac")},
                   // Gate 1 from x = 75 to 175 (samples 74..174, values i % 101): 100 at
                   // sample 100, path 0 + 100 * 100 / 250. Gate 2 is off: empty.
                   {"gate1_peak_pct", "100"},
                   {"gate1_peak_path", "40"},
                   // The texts as numbers; no ANGLE: a straight probe, depth = path. The DAC
                   // curve at the peak's x = 101, between (100, 60) and (200, 40): 59.8 %;
                   // 20 log10(100 / 59.8) = 4.47 dB, 167.2 %. No result without a job.
                   {"gain_db", "45.5"},
                   {"range_mm", "100"},
                   {"delay_mm", "0"},
                   {"gate1_start_pct", "30"},
                   {"gate1_width_pct", "40"},
                   {"gate1_level_pct", "50"},
                   {"angle_deg", "0"},
                   {"depth_mm", "40.0"},
                   {"surface_mm", "0.0"},
                   {"level_db", "4.5"},
                   {"dac_pct", "167.2"}};
const Row kTft7 = {
    {"slot", "7"},        {"RANGE", "250"},    {"DELAY", "10.0"},  {"Gain", "12.0 dB"},
    {"GATE 1", "DAC -6"}, {"MEM NO", "007"},   {"MEASURE", "OFF"}, {"time_date", "9999999999"},
    {"gain_db", "12"},    {"range_mm", "250"}, {"delay_mm", "10"}, {"angle_deg", "0"}};
// A blank gain still shows its unit after the five blanks.
const Row kTft5 = {{"slot", "5"},
                   {"RANGE", "50"},
                   {"MEM NO", "001"},
                   {"Gain", "     dB"},
                   {"time_date", "2024-12-31T12:00"},
                   {"range_mm", "50"},
                   {"angle_deg", "0"}};
const Row kDac2 = {{"slot", "2"},
                   {"ZERO", "97"},
                   {"RANGE", "125"},
                   {"DELAY", "2.5"},
                   {"Gain", "30.0 dB"},
                   {"GATE 1", "ON"},
                   {"GATE 1 START", "20%"},
                   {"GATE 1 END", "30%"},
                   {"GATE 1 LEVEL", "60%"},
                   {"BACKLIT", "ON"},
                   {"CONTRST", "40"},
                   {"MEM NO", "002"},
                   {"MEASURE", "ON"},
                   {"DAC", "ON 6/12"},
                   {"time_date", "2003-04-01T07:55"},
                   {"Beam Path", "7.5"},
                   {"Surface", "6.0"},
                   {"Depth", "4.5"},
                   {"Operator", QString::fromUtf8("J. M\u00fcller")},
                   {"Job No", "JOB-42"},
                   {"Remark", "Remark with \"quotes\", comma"},
                   // Gate 1 from x = 50 to 125 (samples 49..124, values (10 + i) % 101): 100 at
                   // sample 90, path 2.5 + 125 * 90 / 250. Gate 2 (blank texts) holds no sample.
                   {"gate1_peak_pct", "100"},
                   {"gate1_peak_path", "47.5"},
                   // The curve at x = 91, between (60, 70) and (120, 50): 59.67 %;
                   // 20 log10(100 / 59.67) = 4.49 dB, 167.6 %.
                   {"gain_db", "30"},
                   {"range_mm", "125"},
                   {"delay_mm", "2.5"},
                   {"gate1_start_pct", "20"},
                   {"gate1_width_pct", "30"},
                   {"gate1_level_pct", "60"},
                   {"angle_deg", "0"},
                   {"depth_mm", "47.5"},
                   {"surface_mm", "0.0"},
                   {"level_db", "4.5"},
                   {"dac_pct", "167.6"}};
const Row kDac150 = {{"slot", "150"},
                     {"RANGE", "50"},
                     {"MEM NO", "150"},
                     {"Gain", "     dB"},
                     {"time_date", "2460010113"},
                     {"Job No", "JOB-43"},
                     {"range_mm", "50"},
                     {"angle_deg", "0"}};

// The CSV row of `row` under the heading, quoted by hand.
QString csvRow(const QStringList& heading, const Row& row) {
    QStringList fields;
    for (const QString& column : heading) {
        const auto it = row.find(column);
        QString text = it == row.end() ? QString() : it->second;
        if (text.contains(',') || text.contains('"')) {
            text = '"' + text.replace("\"", "\"\"") + '"';
        }
        fields.append(text);
    }
    return fields.join(',') + "\r\n";
}

QString samples(int base) {
    QStringList values;
    for (int i = 0; i < kSamplesStored; ++i) {
        values.append(QString::number((base + i) % 101));
    }
    return values.join(',');
}

class Tables : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString tft = testing::writeTftFile(QDir(dir.path()));
    QString dac = testing::writeDacFile(QDir(dir.path()));
    QString out = dir.filePath("out");
};

TEST_F(Tables, csvHasARowPerMarkedSlotWithEveryFieldAsThePanelShowsIt) {
    ASSERT_EQ(runCli({"csv", tft, "-o", out}).exitCode, 0);
    const QStringList tftHeading = kTftHeading + kPeakHeading + kNumberHeading;
    EXPECT_EQ(
        QString::fromUtf8(readAll(out)),
        tftHeading.join(',') + "\r\n" + csvRow(tftHeading, kTft3) + csvRow(tftHeading, kTft7));

    ASSERT_EQ(runCli({"csv", dac, "-o", out}).exitCode, 0);
    const QStringList dacHeading = kDacHeading + kPeakHeading + kNumberHeading;
    EXPECT_EQ(
        QString::fromUtf8(readAll(out)),
        dacHeading.join(',') + "\r\n" + csvRow(dacHeading, kDac2) + csvRow(dacHeading, kDac150));
}

TEST_F(Tables, csvTakesNamedSlotsMarkedOrNotAndAddsTheSamples) {
    ASSERT_EQ(runCli({"csv", tft, "--slots", "7,5", "--samples", "-o", out}).exitCode, 0);
    QStringList heading = kTftHeading;
    for (int i = 0; i < kSamplesStored; ++i) {
        heading.append(QStringLiteral("s%1").arg(i));
    }
    heading += kPeakHeading + kNumberHeading;
    // Slot 7's gate 1 serves the DAC ("DAC -6 ") and its gate 2, like slot 5's gates, has
    // blank texts, a marker at x = 0 holding no sample: the peak columns stay empty.
    const QString noPeaks = ",,,,,";
    const QString row5 = csvRow(kTftHeading, kTft5).chopped(2) + ',' + samples(20) + noPeaks +
                         csvRow(kNumberHeading, kTft5);
    const QString row7 = csvRow(kTftHeading, kTft7).chopped(2) + ',' + samples(50) + noPeaks +
                         csvRow(kNumberHeading, kTft7);
    EXPECT_EQ(QString::fromUtf8(readAll(out)), heading.join(',') + "\r\n" + row5 + row7);
}

QJsonObject slotObject(const QJsonDocument& document, int index) {
    return document.object()["slots"].toArray().at(index).toObject();
}

// The keys of a JSON object in the order the text has them.
QStringList keysInOrder(const QByteArray& text, const QString& after, int count) {
    const QString s = QString::fromUtf8(text);
    QStringList keys;
    static const QRegularExpression key("\"([^\"]+)\": ");
    auto it = key.globalMatch(s, s.indexOf(after) + after.size());
    while (it.hasNext() && keys.size() < count) {
        keys.append(it.next().captured(1));
    }
    return keys;
}

void expectSlot(const QJsonObject& slot, const QStringList& heading, const Row& row, bool marked,
                int sampleBase) {
    EXPECT_EQ(slot["slot"].toInt(), row.at("slot").toInt());
    EXPECT_EQ(slot["marked"].toBool(), marked);
    EXPECT_EQ(slot["time_date"].toString(), row.at("time_date"));
    const QJsonObject settings = slot["settings"].toObject();
    const QJsonObject readouts = slot["readouts"].toObject();
    const QJsonObject header = slot["header"].toObject();
    EXPECT_EQ(settings.size() + readouts.size() + header.size() + 2, heading.size());
    for (const QString& column : heading.mid(1)) {
        const QJsonObject& group = settings.contains(column)   ? settings
                                   : readouts.contains(column) ? readouts
                                                               : header;
        const auto it = row.find(column);
        if (column != "time_date") {
            EXPECT_EQ(group[column].toString(), it == row.end() ? QString() : it->second)
                << column.toStdString();
        }
    }
    const QJsonArray ascan = slot["ascan"].toArray();
    ASSERT_EQ(ascan.size(), kSamplesStored);
    for (int i = 0; i < kSamplesStored; ++i) {
        EXPECT_EQ(ascan[i].toInt(), (sampleBase + i) % 101);
    }
}

TEST_F(Tables, jsonCarriesTheSameContentStructuredInADocumentedOrder) {
    const auto run = runCli({"json", tft});  // standard output without -o
    ASSERT_EQ(run.exitCode, 0);
    const QJsonDocument document = QJsonDocument::fromJson(run.out);
    ASSERT_TRUE(document.isObject());
    EXPECT_EQ(document.object()["model"].toString(), "tft");
    ASSERT_EQ(document.object()["slots"].toArray().size(), 2);
    expectSlot(slotObject(document, 0), kTftHeading, kTft3, true, 0);
    expectSlot(slotObject(document, 1), kTftHeading, kTft7, true, 50);
    // The points up to the first below 5 %, where the instrument ends the curve.
    EXPECT_EQ(slotObject(document, 0)["dac_points"].toArray(),
              QJsonArray({QJsonArray{20, 80}, QJsonArray{100, 60}, QJsonArray{200, 40}}));
    EXPECT_EQ(slotObject(document, 1)["dac_points"].toArray(), QJsonArray());
    EXPECT_TRUE(run.out.startsWith("{\n  \"model\": \"tft\",\n  \"slots\": [\n    {\n"));
    EXPECT_EQ(keysInOrder(run.out, "\"slots\": [", 4),
              QStringList({"slot", "marked", "settings", "ZERO"}));
    EXPECT_EQ(keysInOrder(run.out, "\"REF\": \"\"", 3),
              QStringList({"time_date", "readouts", "Beam Path"}));
    EXPECT_EQ(keysInOrder(run.out, "\"Defect Location\": ", 7),
              QStringList({"ascan", "dac_points", "gate1_peak_pct", "gate1_peak_path",
                           "gate2_peak_pct", "gate2_peak_path", "slot"}));
    // The peak in gate 1 as a number, null for gate 2 (off), and for slot 7 (gate 1 serves
    // the DAC; gate 2's blank texts hold no sample) nulls throughout.
    EXPECT_EQ(slotObject(document, 0)["gate1_peak_pct"], QJsonValue(100));
    EXPECT_EQ(slotObject(document, 0)["gate1_peak_path"], QJsonValue(40));
    EXPECT_TRUE(slotObject(document, 0)["gate2_peak_pct"].isNull());
    EXPECT_TRUE(slotObject(document, 0)["gate2_peak_path"].isNull());
    for (const char* key :
         {"gate1_peak_pct", "gate1_peak_path", "gate2_peak_pct", "gate2_peak_path"}) {
        EXPECT_TRUE(slotObject(document, 1)[key].isNull()) << key;
        EXPECT_TRUE(slotObject(document, 1).contains(key)) << key;
    }
}

TEST_F(Tables, jsonOfTheDacModelWrittenToAFile) {
    ASSERT_EQ(runCli({"json", dac, "--slots", "2,150,3", "-o", out}).exitCode, 0);
    const QJsonDocument document = QJsonDocument::fromJson(readAll(out));
    EXPECT_EQ(document.object()["model"].toString(), "dac");
    ASSERT_EQ(document.object()["slots"].toArray().size(), 3);
    expectSlot(slotObject(document, 0), kDacHeading, kDac2, true, 10);
    expectSlot(slotObject(document, 2), kDacHeading, kDac150, true, 77);
    EXPECT_EQ(slotObject(document, 1)["marked"].toBool(), false);  // slot 3 holds no record
    EXPECT_EQ(slotObject(document, 0)["gate1_peak_pct"], QJsonValue(100));
    EXPECT_EQ(slotObject(document, 0)["gate1_peak_path"], QJsonValue(47.5));
    EXPECT_TRUE(slotObject(document, 0)["gate2_peak_pct"].isNull());
    EXPECT_EQ(slotObject(document, 0)["dac_points"].toArray(),
              QJsonArray({QJsonArray{10, 90}, QJsonArray{60, 70}, QJsonArray{120, 50},
                          QJsonArray{180, 30}}));
}

}  // namespace
}  // namespace trellicap
