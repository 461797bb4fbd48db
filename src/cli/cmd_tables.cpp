// csv and json: the chosen slots' settings, time and date, readouts, header fields and
// samples, as a table or as structured data.
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/job_file.h"
#include "cli/models.h"
#include "cli/output_file.h"

namespace trellicap::cli {

namespace {

// Each chosen slot recalled and shown, as the window would, and read back into a table.
void writeTable(const CommandLine& line, ExportFormat format, const QString& path,
                bool samples = false) {
    const auto requested = requestedSlots(line);
    const RecordInput input = openInput(line);
    ExportRequest request;
    if (line.isSet(QStringLiteral("job"))) {
        const JobFile job = readJobFile(line.value(QStringLiteral("job")), input.model);
        request.evaluation = inspection::evaluationSettings(job.job, job.reference);
    }
    request.format = format;
    request.slotNumbers = slotsToShow(requested, input);
    request.marked = input.marked;
    request.samples = samples;
    writeExport(input.session->store(), std::move(request), path);
}

void runCsv(const CommandLine& line) {
    const QString path = line.required(QStringLiteral("output"));
    writeTable(line, ExportFormat::Csv, path, line.isSet(QStringLiteral("samples")));
}

void runJson(const CommandLine& line) {
    // To standard output without -o.
    writeTable(
        line, ExportFormat::Json,
        line.isSet(QStringLiteral("output")) ? line.value(QStringLiteral("output")) : QString());
}

}  // namespace

const Command& csvCommand() {
    static const Command command{
        {QStringLiteral("csv"),
         withModelKeys(QStringLiteral(
             "FILE -o OUT.csv [--slots LIST] [--samples] [--job JOB.json] [--model {models}]")),
         QStringLiteral("one CSV row per slot: settings, time and date, readouts, header"),
         QStringLiteral(
             "Writes one row per slot (RFC 4180, UTF-8): the slot, every setting under\n"
             "its panel label, the time and date (ISO 8601 where the codes form a valid\n"
             "date), the readouts, the report header fields and, last, the highest echo\n"
             "in each gate (gate1_peak_pct, gate1_peak_path, gate2_peak_pct,\n"
             "gate2_peak_path; empty where the gate is not drawn), then the numbers:\n"
             "gain_db, range_mm, delay_mm, each gate's start, width and level in %\n"
             "(gate1_start_pct ... gate2_level_pct), angle_deg, and gate 1's echo\n"
             "evaluated: depth_mm, surface_mm, level_db, dac_pct and result. Without\n"
             "--job the echo is placed along the slot's ANGLE and measured against its\n"
             "own DAC curve, and result stays empty; with --job (see evaluate) the\n"
             "job's probe angle, reference and rule count."),
         {outputOption(QStringLiteral("OUT.csv")),
          slotsOption(),
          {{QStringLiteral("samples")},
           {},
           QStringLiteral("add the 251 A-scan samples, s0 to s250")},
          {{QStringLiteral("job")},
           QStringLiteral("JOB.json"),
           QStringLiteral("evaluate each slot against this job")},
          modelOption()},
         1},
        runCsv};
    return command;
}

const Command& jsonCommand() {
    static const Command command{
        {QStringLiteral("json"),
         withModelKeys(QStringLiteral("FILE [-o OUT.json] [--slots LIST] [--model {models}]")),
         QStringLiteral("the same content as csv, structured, with samples and DAC points"),
         QStringLiteral("Writes the model and, per slot, its mark, settings, time and date,\n"
                        "readouts, header fields, the 251 A-scan samples, the DAC points and\n"
                        "the gate peaks (docs/trellicap-cli.schema.json). To standard output\n"
                        "without -o."),
         {outputOption(QStringLiteral("OUT.json")), slotsOption(), modelOption()},
         1},
        runJson};
    return command;
}

}  // namespace trellicap::cli
