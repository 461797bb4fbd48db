// The equipment register: instruments, probes, reference blocks and couplants, and the daily
// checks of an instrument with a probe on a block. Each entry is known by its key (a serial
// number, a block's ID, a couplant's name, a check's own ID); a change to it is a new
// version, the earlier ones kept. A job names the equipment it uses; what is past its
// calibration date or lacks a passed check on a day of the job is named as a warning.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>
#include <vector>

namespace trellicap::inspection {

struct Instrument {
    QString model;
    QString serial;
    QString firmware;
    QString certificate;  // the calibration certificate's number
    std::optional<QDate> calibrationDue;
    friend bool operator==(const Instrument&, const Instrument&) = default;
};

enum class ProbeType { Straight, Angle, Dual };

struct Probe {
    std::optional<ProbeType> type;
    QString makerType;  // the maker's type designation
    QString serial;
    std::optional<double> frequencyMhz;
    QString elementSize;                     // as the maker gives it: "8 x 9 mm", "10 mm"
    std::optional<double> angleDeg;          // nominal
    std::optional<double> measuredAngleDeg;  // on the block
    std::optional<double> delayUs;           // probe delay
    std::optional<QDate> calibrationDue;
    friend bool operator==(const Probe&, const Probe&) = default;
};

struct ReferenceBlock {
    QString designation;  // "ISO 2400", "ISO 7963"
    QString id;
    std::optional<double> velocityMs;
    friend bool operator==(const ReferenceBlock&, const ReferenceBlock&) = default;
};

struct Couplant {
    QString name;
    QString batch;
    friend bool operator==(const Couplant&, const Couplant&) = default;
};

// A daily check of an instrument with a probe on a block: the measured angle and index
// point, and whether they were within tolerance.
struct DailyCheck {
    QString id;  // given when the check is registered
    QDate date;
    QString instrument;  // serial
    QString probe;       // serial
    QString block;       // the block's ID
    std::optional<double> measuredAngleDeg;
    std::optional<double> indexPointMm;
    bool passed = false;
    QString by;
    friend bool operator==(const DailyCheck&, const DailyCheck&) = default;
};

enum class ItemKind { Instrument, Probe, Block, Couplant, DailyCheck };

using ItemData = std::variant<Instrument, Probe, ReferenceBlock, Couplant, DailyCheck>;

// One version of a register entry, with who changed it and when.
struct EquipmentItem {
    ItemData data;
    int version = 0;
    QString by;
    QString at;  // ISO 8601 with the offset
    friend bool operator==(const EquipmentItem&, const EquipmentItem&) = default;
};

[[nodiscard]] ItemKind kindOf(const ItemData& data);
// "instrument", "probe", "block", "couplant", "daily_check"; and back (nullopt: unknown).
[[nodiscard]] QString kindName(ItemKind kind);
[[nodiscard]] std::optional<ItemKind> kindFromName(const QString& name);
// "straight", "angle", "dual"; and back.
[[nodiscard]] QString probeTypeName(ProbeType type);
[[nodiscard]] std::optional<ProbeType> probeTypeFromName(const QString& name);

// What tells an entry from the others of its kind: the serial number, the block's ID, the
// couplant's name, the check's ID.
[[nodiscard]] QString itemKey(const ItemData& data);
// "Probe MWB45-4 SN 1234", "Block ISO 2400 K1-07": how messages and lists name an entry.
[[nodiscard]] QString itemTitle(const ItemData& data);

// The newest version of every entry.
class EquipmentRegister {
public:
    EquipmentRegister() = default;
    explicit EquipmentRegister(std::vector<EquipmentItem> items) : m_items(std::move(items)) {}

    [[nodiscard]] const std::vector<EquipmentItem>& items() const { return m_items; }
    [[nodiscard]] const Instrument* instrument(const QString& serial) const;
    [[nodiscard]] const Probe* probe(const QString& serial) const;
    [[nodiscard]] const ReferenceBlock* block(const QString& id) const;
    [[nodiscard]] std::vector<const DailyCheck*> checks() const;

private:
    template <class T>
    const T* find(const QString& key) const;

    std::vector<EquipmentItem> m_items;
};

// The equipment a job names.
struct EquipmentUse {
    QString instrumentSerial;
    QString probeSerial;
    QString blockId;
};

// What an auditor would query, in the order instrument, probe, block: an entry missing from
// the register, a calibration due before a day of use, a day without a passed check of the
// instrument with the probe. Days are the days the equipment was used (at least one).
[[nodiscard]] QStringList equipmentWarnings(const EquipmentRegister& equipment,
                                            const EquipmentUse& use,
                                            const std::vector<QDate>& days);

// The days a job's dates cover: from..to (at most 62 days; a longer span gives its first and
// last day), one of them alone, or `today` without either.
[[nodiscard]] std::vector<QDate> daysOfUse(const std::optional<QDate>& from,
                                           const std::optional<QDate>& to, const QDate& today);

}  // namespace trellicap::inspection
