#include "shell/job/frmequipment.h"

#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "inspection/equipment_json.h"
#include "inspection/job_store.h"
#include "shell/common/window_host.h"
#include "shell/job/form_fields.h"
#include "shell/job/json_form.h"

namespace trellicap {

namespace {

constexpr std::array<const char*, 5> kPageTitles = {"Instruments", "Probes", "Reference blocks",
                                                    "Couplants", "Daily checks"};
constexpr std::array<const char*, 5> kTableNames = {"tbleqinstruments", "tbleqprobes",
                                                    "tbleqblocks", "tbleqcouplants", "tbleqchecks"};

QString cellText(const QJsonValue& value) {
    return value.isDouble() ? QString::number(value.toDouble(), 'g', 15) : value.toString();
}

// Every instrument and probe of the register on the day.
QStringList warningsOn(const inspection::EquipmentRegister& equipment, const QDate& day) {
    QStringList warnings;
    for (const inspection::EquipmentItem& item : equipment.items()) {
        inspection::EquipmentUse use;
        if (const auto* i = std::get_if<inspection::Instrument>(&item.data)) {
            use.instrumentSerial = i->serial;
        } else if (const auto* p = std::get_if<inspection::Probe>(&item.data)) {
            use.probeSerial = p->serial;
        } else {
            continue;
        }
        warnings << inspection::equipmentWarnings(equipment, use, {day});
    }
    return warnings;
}

}  // namespace

frmequipment::frmequipment(inspection::InspectionStore& store, WindowHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_store(store), m_host(host) {
    setObjectName(QStringLiteral("frmequipment"));
    setWindowTitle(QStringLiteral("Equipment"));
    m_warnings = new QLabel(this);
    m_warnings->setObjectName(QStringLiteral("lbleqwarnings"));
    m_warnings->setWordWrap(true);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabequipment"));
    for (std::size_t k = 0; k < m_pages.size(); ++k) {
        Page& page = m_pages[k];
        const auto fields = kItemFields[k];
        auto* widget = new QWidget(m_tabs);
        page.table = new QTableWidget(widget);
        page.table->setObjectName(QString::fromLatin1(kTableNames[k]));
        page.table->setSelectionBehavior(QAbstractItemView::SelectRows);
        page.table->setSelectionMode(QAbstractItemView::SingleSelection);
        page.table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        page.table->verticalHeader()->hide();
        QStringList headings;
        for (const FormField& field : fields) {
            headings << QString::fromUtf8(field.label);
        }
        headings << QStringLiteral("Version");
        page.table->setColumnCount(static_cast<int>(headings.size()));
        page.table->setHorizontalHeaderLabels(headings);
        page.form = new JsonForm(fields, widget);
        const auto kind = static_cast<inspection::ItemKind>(k);
        connect(page.table, &QTableWidget::currentCellChanged, this,
                [this, kind](int row) { rowChosen(kind, row); });
        auto* layout = new QVBoxLayout(widget);
        layout->addWidget(page.table, 1);
        layout->addWidget(page.form);
        m_tabs->addTab(widget, QString::fromLatin1(kPageTitles[k]));
    }
    auto* fresh = new QPushButton(QStringLiteral("New Entry"), this);
    fresh->setObjectName(QStringLiteral("cmdeqnew"));
    connect(fresh, &QPushButton::clicked, this, &frmequipment::clearForm);
    auto* keepButton = new QPushButton(QStringLiteral("Keep"), this);
    keepButton->setObjectName(QStringLiteral("cmdeqkeep"));
    keepButton->setToolTip(
        QStringLiteral("Keeps the form as a new entry, or as the next version of the entry of "
                       "that serial number, ID or name"));
    connect(keepButton, &QPushButton::clicked, this, &frmequipment::keep);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdclose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fresh);
    buttons->addWidget(keepButton);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_warnings);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    resize(820, 620);
    reload();
}

inspection::ItemKind frmequipment::currentKind() const {
    return static_cast<inspection::ItemKind>(m_tabs->currentIndex());
}

void frmequipment::showKind(inspection::ItemKind kind) {
    m_tabs->setCurrentIndex(static_cast<int>(kind));
}

JsonForm& frmequipment::form(inspection::ItemKind kind) const {
    return *m_pages[static_cast<std::size_t>(kind)].form;
}

QTableWidget* frmequipment::table(inspection::ItemKind kind) const {
    return m_pages[static_cast<std::size_t>(kind)].table;
}

void frmequipment::reload() {
    QString error;
    const auto equipment = m_store.equipment(&error);
    if (!equipment) {
        m_warnings->setText(QStringLiteral("The register cannot be read: %1").arg(error));
        return;
    }
    for (Page& page : m_pages) {
        page.items.clear();
    }
    for (const inspection::EquipmentItem& item : equipment->items()) {
        m_pages[static_cast<std::size_t>(inspection::kindOf(item.data))].items.push_back(item);
    }
    for (std::size_t k = 0; k < m_pages.size(); ++k) {
        Page& page = m_pages[k];
        const auto fields = kItemFields[k];
        page.table->setRowCount(static_cast<int>(page.items.size()));
        for (int r = 0; r < page.table->rowCount(); ++r) {
            const inspection::EquipmentItem& item = page.items[static_cast<std::size_t>(r)];
            const QJsonObject json = inspection::itemJson(item);
            int c = 0;
            for (const FormField& field : fields) {
                page.table->setItem(
                    r, c++, new QTableWidgetItem(cellText(json.value(QLatin1String(field.key)))));
            }
            page.table->setItem(r, c, new QTableWidgetItem(QString::number(item.version)));
        }
        page.table->resizeColumnsToContents();
    }
    const QStringList warnings = warningsOn(*equipment, QDate::currentDate());
    m_warnings->setText(
        warnings.isEmpty() ? QStringLiteral("Today nothing is due and every check passed.")
                           : QStringLiteral("Today: %1.").arg(warnings.join(QStringLiteral("; "))));
}

void frmequipment::rowChosen(inspection::ItemKind kind, int row) {
    const Page& page = m_pages[static_cast<std::size_t>(kind)];
    if (row < 0 || row >= static_cast<int>(page.items.size())) {
        return;
    }
    QJsonObject json = inspection::itemJson(page.items[static_cast<std::size_t>(row)]);
    for (const char* meta : {"kind", "version", "changed_by", "changed_at"}) {
        json.remove(QLatin1String(meta));
    }
    page.form->setValue(json);
}

void frmequipment::clearForm() {
    Page& page = m_pages[static_cast<std::size_t>(currentKind())];
    page.table->setCurrentCell(-1, -1);
    page.form->setValue({});
}

bool frmequipment::keep() {
    const inspection::ItemKind kind = currentKind();
    const Page& page = m_pages[static_cast<std::size_t>(kind)];
    QJsonObject json = page.form->value();
    json.insert(QStringLiteral("kind"), inspection::kindName(kind));
    const inspection::ItemsRead read = inspection::readItems(QJsonDocument(json).toJson());
    if (!read.errors.isEmpty()) {
        m_host.message({QStringLiteral("Equipment"),
                        QStringLiteral("The entry was not kept: a box holds what it cannot take."),
                        page.form->labelled(read.errors).join(QLatin1Char('\n'))});
        return false;
    }
    inspection::EquipmentItem item{read.items.front(), 0, inspection::loginName(),
                                   inspection::nowText()};
    if (auto refused = m_store.keepItem(item)) {
        m_host.message(
            {QStringLiteral("Equipment"), QStringLiteral("The entry was not kept."), *refused});
        return false;
    }
    m_host.showStatus(QStringLiteral("Kept %1, version %2")
                          .arg(inspection::itemTitle(item.data))
                          .arg(item.version),
                      6000);
    reload();
    emit registerChanged();
    return true;
}

}  // namespace trellicap
