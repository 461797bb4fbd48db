// Where the report header notes go: "S  A  V  E" keeps storing into the slot last recalled,
// and the caption beside the boxes says so, also when a capture shows another slot's record.
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "link/batch_result.h"
#include "link/instrument_link.h"
#include "sim_window.h"

using namespace trellicap;
using namespace trellicap::testing;

namespace {

class NotesTargetTest : public SimWindowTest {
protected:
    QString caption() const { return statusField("lblnotestarget"); }
};

TEST_P(NotesTargetTest, TheCaptionNamesTheNotesSlotAndTheRecordShownAfterACapture) {
    const ModelProfile& profile = *GetParam();
    frmmain& w = start();
    EXPECT_EQ(caption(), QStringLiteral("Notes go to Mem 1."));

    QSignalSpy finished(&w.session().link(), &InstrumentLink::batchFinished);
    w.slotList()->item(4)->setSelected(true);
    w.findChild<QPushButton*>(QStringLiteral("cmdcapture"))->click();
    ASSERT_TRUE(finished.wait(15000));
    ASSERT_EQ(entry(5), QStringLiteral("Mem 5 *"));
    EXPECT_EQ(caption(), QStringLiteral("Notes go to Mem 1. The record shown is Mem 5: "
                                        "double-click Mem 5 to annotate it."));

    // The capture did not move the notes: they still land in slot 1.
    const HeaderField& first = profile.headerFields.front();
    w.findChild<QLineEdit*>(QLatin1String(first.control.data(), first.control.size()))
        ->setText(QStringLiteral("AB"));
    w.findChild<QPushButton*>(QStringLiteral("cmdtxtsav"))->click();
    EXPECT_EQ(w.session().store().column(0)[static_cast<std::size_t>(first.firstRow)], 'A');
    EXPECT_NE(w.session().store().column(4)[static_cast<std::size_t>(first.firstRow)], 'A');

    // Recalling the slot shown makes it the notes' slot.
    w.slotList()->clearSelection();
    w.slotList()->item(4)->setSelected(true);
    w.lstmem_DblClick();
    EXPECT_EQ(caption(), QStringLiteral("Notes go to Mem 5."));

    // A slot sent from the instrument is shown; the notes stay with slot 5.
    sendFromInstrument(12);
    EXPECT_EQ(caption(), QStringLiteral("Notes go to Mem 5. The record shown is Mem 12: "
                                        "double-click Mem 12 to annotate it."));
}

INSTANTIATE_TEST_SUITE_P(Models, NotesTargetTest, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
