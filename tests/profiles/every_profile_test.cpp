// The panel, the plot, the record file and the command line's tables, run against every
// profile of tests/support/test_profiles.h: what they find in a record they find through the
// profile's tables and roles, so a third instrument whose boxes are renamed and moved works
// without a change to the code.
#include <gtest/gtest.h>

#include "profiles/model_registry.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "cli/info_table.h"
#include "cli/models.h"
#include "cli/record_input.h"
#include "display/ascan_plot.h"
#include "display/canvas.h"
#include "display/overlays.h"
#include "display/panel_texts.h"
#include "display/plot_geometry.h"
#include "display/record_builder.h"
#include "record/profile_text.h"
#include "record/record_store.h"
#include "report/csv_format.h"
#include "report/json_format.h"
#include "report/slot_record.h"
#include "report/slot_view.h"
#include "storage/record_file_io.h"
#include "storage/record_file_writer.h"
#include "support/test_profiles.h"

namespace trellicap {
namespace {

using testing::blankSettings;
using testing::putText;

// Writes `text` into the codes of `control`'s box.
void putInBox(const ModelProfile& profile, std::vector<RecordValue>& record,
              std::string_view control, const QString& text) {
    const auto index = walkedIndex(profile, control);
    ASSERT_TRUE(index.has_value()) << control;
    putText(record, *index, text);
}

// A record with gate 1 on at 20..50 % of the width and 50 % high, gate 2 off, RANGE 100.
std::vector<RecordValue> gateRecord(const ModelProfile& profile, const QString& gate1Mode) {
    auto record = blankSettings(profile);
    const ControlRoles& roles = profile.roles;
    putInBox(profile, record, roles.range, QStringLiteral("100"));
    putInBox(profile, record, roles.delay, QStringLiteral("0.0"));
    putInBox(profile, record, roles.dac, QStringLiteral("OFF"));
    putInBox(profile, record, roles.gate1.mode, gate1Mode);
    putInBox(profile, record, roles.gate1.start, QStringLiteral("20%"));
    putInBox(profile, record, roles.gate1.end, QStringLiteral("30%"));
    putInBox(profile, record, roles.gate1.level, QStringLiteral("50%"));
    putInBox(profile, record, roles.gate2.mode, QStringLiteral("OFF"));
    return record;
}

QImage overlaysOf(const ModelProfile& profile, const std::vector<RecordValue>& record) {
    Canvas canvas{kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point};
    drawOverlays(canvas, profile, buildPanelTexts(profile, record), record);
    return canvas.image();
}

class EveryProfile : public ::testing::TestWithParam<const ModelProfile*> {
protected:
    const ModelProfile& profile = *GetParam();
};

TEST_P(EveryProfile, EachBoxShowsTheCodesAtItsOwnPlaceInTheWalk) {
    auto record = blankSettings(profile);
    int n = 0;
    for (const PanelStep& step : profile.panelSteps) {
        if (!step.timeDate) {
            putInBox(profile, record, step.control, QString::number(100 + n++).left(step.shown));
        }
    }
    const PanelTexts texts = buildPanelTexts(profile, record);
    n = 0;
    for (const PanelStep& step : profile.panelSteps) {
        if (!step.timeDate) {
            EXPECT_TRUE(
                texts.text(step.control).startsWith(QString::number(100 + n++).left(step.shown)))
                << step.control << ": " << texts.text(step.control).toStdString();
        }
    }
    // Every role reads a box the walk filled.
    const ControlRoles& roles = profile.roles;
    for (const std::string_view role : {roles.range, roles.delay, roles.dac, roles.gate1.mode,
                                        roles.gate1.level, roles.gate2.mode, roles.gate2.end}) {
        EXPECT_TRUE(texts.contains(role)) << role;
        EXPECT_FALSE(texts.text(role).trimmed().isEmpty()) << role;
    }
}

TEST_P(EveryProfile, PlotDrawsTheGateAndTheAxisFromTheRolesBoxes) {
    const auto on = gateRecord(profile, QStringLiteral("ON"));
    const PanelTexts texts = buildPanelTexts(profile, on);
    const ControlRoles& roles = profile.roles;
    const auto segment =
        gateSegment(texts.text(roles.gate1.mode), texts.text(roles.gate1.start),
                    texts.text(roles.gate1.end), texts.text(roles.gate1.level), true);
    ASSERT_TRUE(segment.has_value());
    const Canvas blank{kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point};
    const QImage withGate = overlaysOf(profile, on);
    const QImage withoutGate = overlaysOf(profile, gateRecord(profile, QStringLiteral("OFF")));
    EXPECT_NE(withGate, withoutGate) << "gate 1 is drawn";
    // Only the gate tells them apart: drawn alone it makes the whole difference.
    Canvas gateAlone{kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point};
    Canvas rest{kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point};
    gateAlone.line(segment->p1(), segment->p2(), kTraceColor);
    drawAxisLabels(gateAlone, profile, texts);
    drawAxisLabels(rest, profile, texts);
    EXPECT_EQ(withGate, gateAlone.image());
    EXPECT_EQ(withoutGate, rest.image());

    // The axis labels follow RANGE: 0 leaves the row under the plot empty.
    auto noRange = on;
    putInBox(profile, noRange, roles.range, QStringLiteral("0  "));
    Canvas labelled{kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point};
    Canvas unlabelled{kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point};
    drawAxisLabels(labelled, profile, texts);
    drawAxisLabels(unlabelled, profile, buildPanelTexts(profile, noRange));
    EXPECT_NE(labelled.image(), unlabelled.image());
    EXPECT_EQ(unlabelled.image(), blank.image());
}

TEST_P(EveryProfile, RecordFileCarriesTheBoxesAcrossSaveAndLoad) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("slots.dat"));
    RecordStore store(profile);
    store.initMemoryTable();
    const auto record = gateRecord(profile, QStringLiteral("ON"));
    std::copy(record.begin(), record.end(), store.column(5).begin());
    ASSERT_EQ(saveRecordFile(path, store), std::nullopt);
    EXPECT_EQ(QFileInfo(path).size(), recordFileSize(profile));

    RecordStore loaded(profile);
    const LoadResult result = loadRecordFile(path, loaded);
    EXPECT_EQ(result.stop, LoadResult::Stop::Complete);
    EXPECT_EQ(result.valuesRead, result.valuesExpected);
    loaded.recallSlot(5);
    const PanelTexts texts = buildPanelTexts(profile, loaded.capture());
    EXPECT_EQ(texts.text(profile.roles.range).trimmed(), QStringLiteral("100"));
    EXPECT_EQ(texts.text(profile.roles.gate1.level).trimmed(), QStringLiteral("50%"));
}

TEST_P(EveryProfile, CommandLineTablesNameAndFillTheRolesColumns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("slots.dat"));
    {
        RecordStore store(profile);
        store.initMemoryTable();
        auto record = gateRecord(profile, QStringLiteral("ON"));
        const HeaderField* header = nullptr;
        for (const HeaderField& field : profile.headerFields) {
            header = field.control == profile.roles.infoHeader ? &field : header;
        }
        ASSERT_NE(header, nullptr);
        putText(record, header->firstRow, QStringLiteral("J-417"));
        std::copy(record.begin(), record.end(), store.column(5).begin());
        ASSERT_EQ(saveRecordFile(path, store), std::nullopt);
    }
    const cli::CliModel model{profile};
    cli::RecordInput input = cli::loadInput(path, &model);
    const FieldLabels labels = fieldLabels(profile);
    ASSERT_TRUE(input.session->recall(5).done());
    const SlotView& shown = input.session->view();
    const std::vector<SlotRecord> records{slotRecord(labels, shown, 6, false)};

    // Info: "Slot  Time and date  RANGE  DELAY  Gain  GATE 1  <header>", the values below.
    const QStringList lines = cli::infoTable(profile, labels, records).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("RANGE"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("100"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("J-417"))) << lines[1].toStdString();
    EXPECT_TRUE(cli::infoSettingLabels(profile).startsWith(QStringLiteral("RANGE, ")));

    // CSV and JSON: the range under its label, the model under its key.
    const QList<QByteArray> csv = csvDocument(labels, records, false).split('\n');
    ASSERT_GE(csv.size(), 2);
    const auto rangeColumn = csv[0].split(',').indexOf("RANGE");
    ASSERT_GE(rangeColumn, 0) << csv[0].toStdString();
    EXPECT_EQ(csv[1].split(',').value(rangeColumn), "100");
    const QByteArray json = jsonDocument(model.profile, labels, records);
    EXPECT_TRUE(json.contains("\"" + qs(profile.modelKey).toUtf8() + "\""))
        << json.left(200).toStdString();
    EXPECT_TRUE(json.contains("\"RANGE\": \"100\"")) << json.left(600).toStdString();
}

// The registry's line of each model agrees with its profile: the program it builds is the
// profile's, and the record file size the man pages give is the writer's.
TEST(ModelRegistry, EachLineAgreesWithItsProfileAndTheTestProfilesAreAllThere) {
    const auto models = registeredModels();
    const auto profiles = registeredProfiles();
    ASSERT_EQ(models.size(), profiles.size());
    ASSERT_EQ(models.size(), testing::kTestProfiles.size());
    for (std::size_t i = 0; i < models.size(); ++i) {
        const ModelProfile& profile = *profiles[i];
        EXPECT_EQ(models[i].key, profile.modelKey);
        EXPECT_EQ(models[i].program, profile.programName);
        EXPECT_EQ(models[i].fileBytes, recordFileSize(profile)) << models[i].key;
        EXPECT_EQ(&profile, testing::kTestProfiles[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, EveryProfile, ::testing::ValuesIn(testing::kTestProfiles),
                         [](const auto& info) { return std::string(info.param->modelKey); });

}  // namespace
}  // namespace trellicap
