#include "inspection/equipment.h"

#include <array>

namespace trellicap::inspection {

namespace {

constexpr std::array<const char*, 5> kKindNames = {"instrument", "probe", "block", "couplant",
                                                   "daily_check"};
constexpr std::array<const char*, 3> kProbeTypeNames = {"straight", "angle", "dual"};
constexpr qint64 kLongestSpanDays = 62;

QString isoDate(const QDate& date) {
    return date.toString(Qt::ISODate);
}

// "" or " " + text: the parts of a title that are known.
QString part(const QString& prefix, const QString& text) {
    return text.isEmpty() ? QString() : prefix + text;
}

void warnDue(QStringList& warnings, const QString& title, const std::optional<QDate>& due,
             const std::vector<QDate>& days) {
    if (!due) {
        warnings << QStringLiteral("%1: no calibration due date in the register").arg(title);
        return;
    }
    for (const QDate& day : days) {
        if (*due < day) {
            warnings << QStringLiteral("%1: calibration was due %2, before its use on %3")
                            .arg(title, isoDate(*due), isoDate(day));
            return;
        }
    }
}

bool passedCheck(const EquipmentRegister& equipment, const EquipmentUse& use, const QDate& day) {
    for (const DailyCheck* check : equipment.checks()) {
        if (check->passed && check->date == day && check->instrument == use.instrumentSerial &&
            (use.probeSerial.isEmpty() || check->probe == use.probeSerial)) {
            return true;
        }
    }
    return false;
}

}  // namespace

ItemKind kindOf(const ItemData& data) {
    return static_cast<ItemKind>(data.index());
}

QString kindName(ItemKind kind) {
    return QString::fromLatin1(kKindNames[static_cast<std::size_t>(kind)]);
}

std::optional<ItemKind> kindFromName(const QString& name) {
    for (std::size_t i = 0; i < kKindNames.size(); ++i) {
        if (name == QLatin1String(kKindNames[i])) {
            return static_cast<ItemKind>(i);
        }
    }
    return std::nullopt;
}

QString probeTypeName(ProbeType type) {
    return QString::fromLatin1(kProbeTypeNames[static_cast<std::size_t>(type)]);
}

std::optional<ProbeType> probeTypeFromName(const QString& name) {
    for (std::size_t i = 0; i < kProbeTypeNames.size(); ++i) {
        if (name == QLatin1String(kProbeTypeNames[i])) {
            return static_cast<ProbeType>(i);
        }
    }
    return std::nullopt;
}

QString itemKey(const ItemData& data) {
    struct Key {
        QString operator()(const Instrument& i) const { return i.serial; }
        QString operator()(const Probe& p) const { return p.serial; }
        QString operator()(const ReferenceBlock& b) const { return b.id; }
        QString operator()(const Couplant& c) const { return c.name; }
        QString operator()(const DailyCheck& c) const { return c.id; }
    };
    return std::visit(Key{}, data);
}

QString itemTitle(const ItemData& data) {
    struct Title {
        QString operator()(const Instrument& i) const {
            return QStringLiteral("Instrument") + part(QStringLiteral(" "), i.model) +
                   QStringLiteral(" SN ") + i.serial;
        }
        QString operator()(const Probe& p) const {
            return QStringLiteral("Probe") + part(QStringLiteral(" "), p.makerType) +
                   QStringLiteral(" SN ") + p.serial;
        }
        QString operator()(const ReferenceBlock& b) const {
            return QStringLiteral("Block") + part(QStringLiteral(" "), b.designation) +
                   QStringLiteral(" ") + b.id;
        }
        QString operator()(const Couplant& c) const {
            return QStringLiteral("Couplant ") + c.name + part(QStringLiteral(", batch "), c.batch);
        }
        QString operator()(const DailyCheck& c) const {
            return QStringLiteral("Daily check %1 of SN %2 with SN %3")
                .arg(isoDate(c.date), c.instrument, c.probe);
        }
    };
    return std::visit(Title{}, data);
}

template <class T>
const T* EquipmentRegister::find(const QString& key) const {
    if (key.isEmpty()) {
        return nullptr;
    }
    for (const EquipmentItem& item : m_items) {
        if (const T* entry = std::get_if<T>(&item.data); entry && itemKey(item.data) == key) {
            return entry;
        }
    }
    return nullptr;
}

const Instrument* EquipmentRegister::instrument(const QString& serial) const {
    return find<Instrument>(serial);
}

const Probe* EquipmentRegister::probe(const QString& serial) const {
    return find<Probe>(serial);
}

const ReferenceBlock* EquipmentRegister::block(const QString& id) const {
    return find<ReferenceBlock>(id);
}

std::vector<const DailyCheck*> EquipmentRegister::checks() const {
    std::vector<const DailyCheck*> out;
    for (const EquipmentItem& item : m_items) {
        if (const auto* check = std::get_if<DailyCheck>(&item.data)) {
            out.push_back(check);
        }
    }
    return out;
}

QStringList equipmentWarnings(const EquipmentRegister& equipment, const EquipmentUse& use,
                              const std::vector<QDate>& days) {
    QStringList warnings;
    if (!use.instrumentSerial.isEmpty()) {
        const Instrument* instrument = equipment.instrument(use.instrumentSerial);
        if (instrument == nullptr) {
            warnings << QStringLiteral("Instrument SN %1 is not in the equipment register")
                            .arg(use.instrumentSerial);
        } else {
            warnDue(warnings, itemTitle(*instrument), instrument->calibrationDue, days);
        }
    }
    if (!use.probeSerial.isEmpty()) {
        const Probe* probe = equipment.probe(use.probeSerial);
        if (probe == nullptr) {
            warnings << QStringLiteral("Probe SN %1 is not in the equipment register")
                            .arg(use.probeSerial);
        } else {
            warnDue(warnings, itemTitle(*probe), probe->calibrationDue, days);
        }
    }
    if (!use.blockId.isEmpty() && equipment.block(use.blockId) == nullptr) {
        warnings << QStringLiteral("Block %1 is not in the equipment register").arg(use.blockId);
    }
    if (!use.instrumentSerial.isEmpty()) {
        for (const QDate& day : days) {
            if (!passedCheck(equipment, use, day)) {
                warnings << QStringLiteral("No passed daily check of instrument SN %1%2 on %3")
                                .arg(use.instrumentSerial,
                                     part(QStringLiteral(" with probe SN "), use.probeSerial),
                                     isoDate(day));
            }
        }
    }
    return warnings;
}

std::vector<QDate> daysOfUse(const std::optional<QDate>& from, const std::optional<QDate>& to,
                             const QDate& today) {
    if (from && to && *from <= *to) {
        if (from->daysTo(*to) > kLongestSpanDays) {
            return {*from, *to};
        }
        std::vector<QDate> days;
        for (QDate day = *from; day <= *to; day = day.addDays(1)) {
            days.push_back(day);
        }
        return days;
    }
    if (from) {
        return {*from};
    }
    if (to) {
        return {*to};
    }
    return {today};
}

}  // namespace trellicap::inspection
