// The boxes of the job window and of the equipment window, as tables over the keys of
// JOB.json and ITEM.json (docs/cli.md): one place names each box, its label and objectName.
#pragma once

#include <array>
#include <span>

#include "shell/job/json_form.h"

namespace trellicap {

inline constexpr FormField kJobFields[] = {
    {"", "Object", FieldKind::Heading},
    {"client", "Client", FieldKind::Text, "txtjobclient"},
    {"order", "Order number", FieldKind::Text, "txtjoborder"},
    {"object", "Object or weld ID", FieldKind::Text, "txtjobobject"},
    {"material", "Material", FieldKind::Text, "txtjobmaterial"},
    {"thickness_mm", "Thickness (mm)", FieldKind::Number, "txtjobthickness"},
    {"surface", "Surface condition", FieldKind::Text, "txtjobsurface"},
    {"temperature_c", "Temperature (\u00b0C)", FieldKind::Number, "txtjobtemperature"},
    {"place", "Place", FieldKind::Text, "txtjobplace"},
    {"date_from", "Date of testing", FieldKind::Date, "txtjobdatefrom"},
    {"date_to", "Last day of testing", FieldKind::Date, "txtjobdateto"},
    {"organisation", "Testing organisation", FieldKind::Text, "txtjoborganisation"},
    {"", "Procedure", FieldKind::Heading},
    {"procedure", "Procedure", FieldKind::Text, "txtjobprocedure"},
    {"procedure_revision", "Procedure revision", FieldKind::Text, "txtjobrevision"},
    {"standard", "Standard", FieldKind::Text, "txtjobstandard"},
    {"testing_level", "Testing level", FieldKind::Text, "txtjoblevel"},
    {"", "Personnel", FieldKind::Heading},
    {"inspector.name", "Inspector", FieldKind::Text, "txtjobinspector"},
    {"inspector.certification", "Inspector's certification", FieldKind::Text, "txtjobcert"},
    {"reviewer.name", "Reviewer", FieldKind::Text, "txtjobreviewer"},
    {"reviewer.certification", "Reviewer's certification", FieldKind::Text, "txtjobrevcert"},
    {"", "Equipment (serial numbers and IDs from the register fill the rest)", FieldKind::Heading},
    {"instrument.serial", "Instrument serial number", FieldKind::Choice, "cbojobinstrument"},
    {"instrument.model", "Instrument model", FieldKind::Text, "txtjobinstrmodel"},
    {"probe.serial", "Probe serial number", FieldKind::Choice, "cbojobprobe"},
    {"probe.type", "Probe type", FieldKind::Choice, "cbojobprobetype", "straight|angle|dual"},
    {"probe.frequency_mhz", "Probe frequency (MHz)", FieldKind::Number, "txtjobfrequency"},
    {"probe.angle_deg", "Probe angle, nominal (\u00b0)", FieldKind::Number, "txtjobangle"},
    {"probe.measured_angle_deg", "Probe angle, measured (\u00b0)", FieldKind::Number,
     "txtjobmeasuredangle"},
    {"block.id", "Reference block ID", FieldKind::Choice, "cbojobblock"},
    {"block.designation", "Reference block", FieldKind::Text, "txtjobblockname"},
    {"couplant", "Couplant", FieldKind::Choice, "cbojobcouplant"},
    {"", "Reference sensitivity", FieldKind::Heading},
    {"reference.method", "Method", FieldKind::Choice, "cbojobmethod", "dac|record"},
    {"reference.reflector", "Reference reflector", FieldKind::Text, "txtjobreflector"},
    {"reference.gain_db", "Reference gain (dB)", FieldKind::Number, "txtjobrefgain"},
    {"reference.transfer_db", "Transfer correction (dB)", FieldKind::Number, "txtjobtransfer"},
    {"reference.file", "Reference record file", FieldKind::Text, "txtjobreffile"},
    {"reference.slot", "Reference record slot", FieldKind::Number, "txtjobrefslot"},
    {"", "Evaluation rule", FieldKind::Heading},
    {"evaluation.recording_level_db", "Recording level (dB)", FieldKind::Number, "txtjobrecording"},
    {"evaluation.acceptance_level_db", "Acceptance level (dB)", FieldKind::Number,
     "txtjobacceptance"},
    {"evaluation.length_limit_mm", "Length limit (mm)", FieldKind::Number, "txtjoblengthlimit"},
    {"evaluation.acceptance_criteria", "Acceptance criteria", FieldKind::Text, "txtjobcriteria"},
};

inline constexpr FormField kInstrumentFields[] = {
    {"model", "Model", FieldKind::Text, "txteqmodel"},
    {"serial", "Serial number", FieldKind::Text, "txteqserial"},
    {"firmware", "Firmware", FieldKind::Text, "txteqfirmware"},
    {"certificate", "Calibration certificate", FieldKind::Text, "txteqcertificate"},
    {"calibration_due", "Calibration due", FieldKind::Date, "txteqdue"},
};

inline constexpr FormField kProbeFields[] = {
    {"type", "Type", FieldKind::Choice, "cboeqprobetype", "straight|angle|dual"},
    {"maker_type", "Maker's type", FieldKind::Text, "txteqmakertype"},
    {"serial", "Serial number", FieldKind::Text, "txteqserial"},
    {"frequency_mhz", "Frequency (MHz)", FieldKind::Number, "txteqfrequency"},
    {"element_size", "Element size", FieldKind::Text, "txteqelement"},
    {"angle_deg", "Nominal angle (\u00b0)", FieldKind::Number, "txteqangle"},
    {"measured_angle_deg", "Measured angle (\u00b0)", FieldKind::Number, "txteqmeasured"},
    {"delay_us", "Probe delay (\u00b5s)", FieldKind::Number, "txteqdelay"},
    {"calibration_due", "Calibration due", FieldKind::Date, "txteqdue"},
};

inline constexpr FormField kBlockFields[] = {
    {"designation", "Designation", FieldKind::Text, "txteqdesignation"},
    {"id", "ID", FieldKind::Text, "txteqid"},
    {"velocity_m_s", "Velocity (m/s)", FieldKind::Number, "txteqvelocity"},
};

inline constexpr FormField kCouplantFields[] = {
    {"name", "Name", FieldKind::Text, "txteqname"},
    {"batch", "Batch", FieldKind::Text, "txteqbatch"},
};

inline constexpr FormField kCheckFields[] = {
    {"date", "Date", FieldKind::Date, "txteqdate"},
    {"instrument", "Instrument serial number", FieldKind::Text, "txteqinstrument"},
    {"probe", "Probe serial number", FieldKind::Text, "txteqprobe"},
    {"block", "Block ID", FieldKind::Text, "txteqblock"},
    {"measured_angle_deg", "Measured angle (\u00b0)", FieldKind::Number, "txteqmeasured"},
    {"index_point_mm", "Index point (mm)", FieldKind::Number, "txteqindex"},
    {"result", "Result", FieldKind::Choice, "cboeqresult", "pass|fail"},
    {"by", "Checked by", FieldKind::Text, "txteqby"},
};

// The fields of each kind, in the order of inspection::ItemKind.
inline constexpr std::array<std::span<const FormField>, 5> kItemFields = {
    std::span<const FormField>(kInstrumentFields), std::span<const FormField>(kProbeFields),
    std::span<const FormField>(kBlockFields), std::span<const FormField>(kCouplantFields),
    std::span<const FormField>(kCheckFields)};

}  // namespace trellicap
