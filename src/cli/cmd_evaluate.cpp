// evaluate FILE --job JOB.json: each chosen slot's gate 1 echo evaluated against a job's
// rule: where it lies (depth and surface distance along the probe angle) and how high it is
// (dB to the record's DAC curve or to the reference echo), and what that comes to.
#include <QFileInfo>
#include <QStringList>

#include "archive/archive_file.h"
#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/evaluation_output.h"
#include "cli/input_options.h"
#include "cli/job_file.h"
#include "cli/job_output.h"
#include "cli/models.h"
#include "cli/output_file.h"
#include "inspection/job_json.h"
#include "report/job_evaluation.h"
#include "report/json_format.h"
#include "report/kept_evaluation.h"

namespace trellicap::cli {

namespace {

// Every record kept in the archive, its newest version, against the job.
void evaluateArchive(const CommandLine& line, const QString& jobPath) {
    if (line.isSet(QStringLiteral("slots"))) {
        failUsage(QStringLiteral("--slots chooses slots of a record file, not of the archive."));
    }
    const CliModel* model = nullptr;
    if (line.isSet(QStringLiteral("model"))) {
        model = modelByKey(line.value(QStringLiteral("model")));
        if (model == nullptr) {
            failUsage(QStringLiteral("--model takes %1, not '%2'.")
                          .arg(modelKeys(), line.value(QStringLiteral("model"))));
        }
    }
    JobFile job = readJobFile(jobPath, model);
    if (model == nullptr) {
        model = jobModel(job.job) != nullptr ? jobModel(job.job) : &cliModels().front();
    }
    const inspection::EvaluationSettings settings =
        inspection::evaluationSettings(job.job, job.reference);
    archive::ArchiveFile file(line.value(QStringLiteral("archive")));
    if (!QFileInfo::exists(file.path())) {
        failInput(QStringLiteral("there is no archive \"%1\".").arg(file.path()));
    }
    if (const auto failure = file.open()) {
        failInput(QStringLiteral("the archive \"%1\" cannot be read: %2.")
                      .arg(file.path(), failure->reason));
    }
    const bool json = line.isSet(QStringLiteral("json"));
    QStringList entries;
    std::vector<QStringList> table{{QStringLiteral("record"), QStringLiteral("slot"),
                                    QStringLiteral("peak %"), QStringLiteral("depth mm"),
                                    QStringLiteral("level dB"), QStringLiteral("result")}};
    const auto error =
        evaluateKept(file.db(), model->profile, settings, [&](const KeptEvaluation& kept) {
            if (json) {
                QString one = evaluationJson({kept.slot, kept.evaluation});
                one.insert(1, QStringLiteral("\"uuid\": %1, \"version\": %2, ")
                                  .arg(jsonString(kept.uuid))
                                  .arg(kept.version));
                entries << QStringLiteral("    ") + one;
            } else {
                const inspection::Evaluation& e = kept.evaluation;
                table.push_back(
                    {kept.uuid.left(8), QString::number(kept.slot),
                     e.peakPct ? QString::number(*e.peakPct) : QStringLiteral("-"),
                     e.depthMm ? QString::number(*e.depthMm, 'f', 1) : QStringLiteral("-"),
                     e.levelDb ? QString::number(*e.levelDb, 'f', 1) : QStringLiteral("-"),
                     e.result ? inspection::resultText(*e.result) : QStringLiteral("-")});
            }
            return true;
        });
    if (error) {
        failInput(QStringLiteral("the archive cannot be read: %1.").arg(*error));
    }
    const QString out =
        json ? QStringLiteral(
                   "{\n  \"archive\": %1,\n  \"model\": %2,\n  \"job\": %3,\n"
                   "  \"records\": [\n%4\n  ]\n}\n")
                   .arg(jsonString(file.path()), jsonString(modelName(model->profile)),
                        jsonString(inspection::jobTitle(job.job)),
                        entries.join(QStringLiteral(",\n")))
             : alignedTable(table);
    writeStandardOutput(out.toUtf8());
}

void runEvaluate(const CommandLine& line) {
    const QString jobPath = line.required(QStringLiteral("job"));
    if (line.positional(0).isEmpty()) {
        if (!line.isSet(QStringLiteral("archive"))) {
            failUsage(QStringLiteral("evaluate needs a record file, or --archive."));
        }
        evaluateArchive(line, jobPath);
        return;
    }
    const auto requested = requestedSlots(line);
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
             "FILE --job JOB.json [--slots LIST] [--json] [-o OUT] [--model {models}]\n"
             "       trellicap-cli evaluate --archive PATH --job JOB.json [--json] "
             "[--model {models}]")),
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
             "where there is no number), overridden, angle_deg and notes. With --archive\n"
             "instead of FILE, every record kept in the archive (its newest version, of the\n"
             "job's model) is evaluated, each named by its UUID."),
         {{{QStringLiteral("job")}, QStringLiteral("JOB.json"), QStringLiteral("the job")},
          slotsOption(),
          {{QStringLiteral("json")}, {}, QStringLiteral("structured output")},
          outputOption(QStringLiteral("OUT")),
          modelOption(),
          {{QStringLiteral("archive")},
           QStringLiteral("PATH"),
           QStringLiteral("evaluate the archive's records instead of a record file's")}},
         0,
         1},
        runEvaluate};
    return command;
}

}  // namespace trellicap::cli
