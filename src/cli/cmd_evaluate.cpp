// evaluate FILE --job JOB.json: each chosen slot's gate 1 echo evaluated against a job's
// rule: where it lies (depth and surface distance along the probe angle) and how high it is
// (dB to the record's DAC curve or to the reference echo), and what that comes to.
#include <QFileInfo>
#include <QStringList>

#include "cli/command.h"
#include "cli/evaluation_output.h"
#include "cli/input_options.h"
#include "cli/job_file.h"
#include "cli/output_file.h"
#include "inspection/job_json.h"
#include "report/job_evaluation.h"
#include "report/json_format.h"

namespace trellicap::cli {

namespace {

void runEvaluate(const CommandLine& line) {
    const auto requested = requestedSlots(line);
    const QString jobPath = line.required(QStringLiteral("job"));
    RecordInput input = openInput(line);
    const JobFile job = readJobFile(jobPath, input.model);
    const inspection::EvaluationSettings settings =
        inspection::evaluationSettings(job.job, job.reference);
    const ModelProfile& profile = input.model->profile;
    std::vector<SlotEvaluation> rows;
    for (const int slot : slotsToShow(requested, input)) {
        const auto values = input.session->store().column(slot - 1);
        rows.push_back({slot, inspection::evaluate(readingOfValues(profile, values), settings)});
    }
    QString out;
    if (line.isSet(QStringLiteral("json"))) {
        QStringList entries;
        for (const SlotEvaluation& row : rows) {
            entries << QStringLiteral("    ") + evaluationJson(row);
        }
        out = QStringLiteral(
                  "{\n  \"file\": %1,\n  \"model\": %2,\n  \"job\": %3,\n"
                  "  \"method\": %4,\n  \"slots\": [\n%5\n  ]\n}\n")
                  .arg(jsonString(QFileInfo(line.positional(0)).fileName()),
                       jsonString(modelName(profile)), jsonString(inspection::jobTitle(job.job)),
                       jsonString(inspection::methodName(job.job.reference.method)),
                       entries.join(QStringLiteral(",\n")));
    } else {
        out = evaluationTable(rows);
    }
    if (line.isSet(QStringLiteral("output"))) {
        OutputFile file(line.value(QStringLiteral("output")));
        file.write(out.toUtf8());
        file.commit();
    } else {
        writeStandardOutput(out.toUtf8());
    }
}

}  // namespace

const Command& evaluateCommand() {
    static const Command command{
        {QStringLiteral("evaluate"),
         withModelKeys(QStringLiteral(
             "FILE --job JOB.json [--slots LIST] [--json] [-o OUT] [--model {models}]")),
         QStringLiteral("each slot's echo against a job: depth, surface distance, dB, result"),
         QStringLiteral(
             "Evaluates the highest echo in gate 1 of each chosen slot (as csv gives it)\n"
             "against the job in JOB.json: depth and surface distance along the probe\n"
             "angle (the job probe's measured angle, else its nominal, else the slot's\n"
             "ANGLE), the level in dB to the slot's own DAC curve (and % DAC) or to the\n"
             "reference record's echo with the gain and transfer corrections, and the\n"
             "result under the job's recording and acceptance levels: no indication,\n"
             "below recording level, acceptable, reject, or outside DAC. A reference\n"
             "file is named relative to JOB.json's folder. --json writes per slot slot,\n"
             "peak_pct, path_mm, depth_mm, surface_mm, level_db, dac_pct, result (null\n"
             "where there is no number), overridden, angle_deg and notes."),
         {{{QStringLiteral("job")}, QStringLiteral("JOB.json"), QStringLiteral("the job")},
          slotsOption(),
          {{QStringLiteral("json")}, {}, QStringLiteral("structured output")},
          outputOption(QStringLiteral("OUT")),
          modelOption()},
         1},
        runEvaluate};
    return command;
}

}  // namespace trellicap::cli
