// The equipment register (Job > Equipment...): a page per kind (instruments, probes,
// reference blocks, couplants, daily checks), each a table of the entries' newest versions
// and a form that keeps a new entry or a changed one as its next version; above them what
// is past its calibration date or lacks today's passed check.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "inspection/equipment.h"

class QLabel;
class QTabWidget;
class QTableWidget;

namespace trellicap {

namespace inspection {
class InspectionStore;
}
class JsonForm;
class WindowHost;

class frmequipment : public QWidget {
    Q_OBJECT
public:
    frmequipment(inspection::InspectionStore& store, WindowHost& host, QWidget* parent = nullptr);

    // The register read anew into the pages.
    void reload();
    // The page of a kind, its form and table.
    void showKind(inspection::ItemKind kind);
    [[nodiscard]] JsonForm& form(inspection::ItemKind kind) const;
    [[nodiscard]] QTableWidget* table(inspection::ItemKind kind) const;
    // Keeps what the current page's form holds; false with the reason shown.
    bool keep();
    // Empties the current page's form for a new entry.
    void clearForm();

signals:
    // The register changed (the job window's warnings follow it).
    void registerChanged();

private:
    struct Page {
        QTableWidget* table = nullptr;
        JsonForm* form = nullptr;
        std::vector<inspection::EquipmentItem> items;
    };
    [[nodiscard]] inspection::ItemKind currentKind() const;
    void rowChosen(inspection::ItemKind kind, int row);

    inspection::InspectionStore& m_store;
    WindowHost& m_host;
    QTabWidget* m_tabs = nullptr;
    QLabel* m_warnings = nullptr;
    std::array<Page, 5> m_pages;
};

}  // namespace trellicap
