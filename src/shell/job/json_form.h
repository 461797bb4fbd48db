// A form of labelled boxes over the keys of a JSON object (JOB.json's, ITEM.json's): the
// job window and the equipment window are tables of fields, and what the boxes hold is read
// by the same strict reader as the files, so a box holding "20 mm" where a number belongs is
// named by its label exactly as a file's key would be.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QWidget>
#include <span>
#include <vector>

class QComboBox;
class QFormLayout;
class QLineEdit;

namespace trellicap {

enum class FieldKind { Heading, Text, Number, Date, Choice };

struct FormField {
    const char* key;  // "probe.serial": a key of a nested object after its object's key
    const char* label;
    FieldKind kind = FieldKind::Text;
    const char* objectName = "";
    const char* choices = "";  // Choice: the values, separated by '|'
};

class JsonForm : public QWidget {
    Q_OBJECT
public:
    JsonForm(std::span<const FormField> fields, QWidget* parent = nullptr);

    // The boxes as a JSON object: an empty box gives no key; a number box holding a number
    // gives a number, else its text (which the reader then names as a mistake).
    [[nodiscard]] QJsonObject value() const;
    // Fills every box from the object; keys without a box are kept aside and given back by
    // value(), so that nothing the form does not show is lost.
    void setValue(const QJsonObject& object);
    // The label of a key as the reader names it in an error ("probe.angle_deg" -> "Nominal
    // angle"); the key itself where the form has no box for it.
    [[nodiscard]] QString labelOf(const QString& key) const;
    // The reader's errors ("probe.angle_deg: a number is expected") with labels for keys.
    [[nodiscard]] QStringList labelled(const QStringList& errors) const;
    // A box by its key, for choices filled at run time (the register's serial numbers).
    [[nodiscard]] QWidget* box(const QString& key) const;
    // The values offered in a choice box without fixed choices (which takes typing too).
    void setChoices(const QString& key, const QStringList& choices);
    void setEnabledAll(bool enabled);

signals:
    void edited();

private:
    struct Box {
        FormField field;
        QLineEdit* line = nullptr;
        QComboBox* combo = nullptr;
    };
    std::vector<Box> m_boxes;
    QJsonObject m_rest;  // what the object holds that no box shows
};

}  // namespace trellicap
