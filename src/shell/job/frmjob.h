// The job window (Job > New Job..., Edit Job...): every item of the job in one form, saved as
// a new version; its records with each one's evaluation (sound path, depth, surface distance,
// amplitude, level, length, position, result), where the inspector adds records, notes an
// indication, sets a result with its reason or takes a record out; the job's history; and
// above it all what the job still lacks and what the equipment register warns of.
#pragma once

#include <QPointer>
#include <QWidget>

#include "inspection/equipment.h"
#include "inspection/job.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace trellicap {

class JobDesk;
class JsonForm;
class WindowHost;

class frmjob : public QWidget {
    Q_OBJECT
public:
    frmjob(JobDesk& desk, WindowHost& host, QWidget* parent = nullptr);

    // A new job: the form starts from `start` (the details of the job open before, less what
    // belongs to one object alone) and Save keeps it as a new job.
    void startNew(const inspection::Job& start);
    // The desk's job, as kept.
    void showOpenJob();
    [[nodiscard]] bool isNew() const { return m_new; }

    // Save: the form's details kept (a new job, or a new version); false with the reason shown.
    bool save();
    // The record chosen in the table (its number in the job), if any.
    [[nodiscard]] std::optional<int> chosenRecord() const;
    // Opens the notes or the result question for the chosen record; applied on Ok.
    void askNotes();
    void askResult();
    void takeOut();

    [[nodiscard]] JsonForm& form() const { return *m_form; }
    [[nodiscard]] QTableWidget* records() const { return m_records; }

signals:
    void addSelectedRequested();
    void addFileRequested();
    void reportRequested();

private:
    void refresh();
    void fillRecords();
    void fillStatus();
    void offerRegister();
    void failed(const QString& what, const QString& reason);
    [[nodiscard]] inspection::EquipmentRegister currentRegister() const;

    JobDesk& m_desk;
    WindowHost& m_host;
    bool m_new = false;
    JsonForm* m_form = nullptr;
    QTabWidget* m_tabs = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_status = nullptr;
    QTableWidget* m_records = nullptr;
    QListWidget* m_history = nullptr;
    QPushButton* m_save = nullptr;
    QList<QPushButton*> m_recordButtons;
};

}  // namespace trellicap
