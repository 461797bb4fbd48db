#include "shell/job/json_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

namespace trellicap {

namespace {

QStringList pathOf(const char* key) {
    return QString::fromLatin1(key).split(QLatin1Char('.'));
}

QJsonValue valueAt(const QJsonObject& object, const QStringList& path) {
    QJsonValue value = object;
    for (const QString& part : path) {
        value = value.toObject().value(part);
    }
    return value;
}

void setAt(QJsonObject& object, const QStringList& path, const QJsonValue& value) {
    if (path.size() == 1) {
        object.insert(path.front(), value);
        return;
    }
    QJsonObject inner = object.value(path.front()).toObject();
    setAt(inner, path.mid(1), value);
    object.insert(path.front(), inner);
}

void removeAt(QJsonObject& object, const QStringList& path) {
    if (path.size() == 1) {
        object.remove(path.front());
        return;
    }
    QJsonObject inner = object.value(path.front()).toObject();
    removeAt(inner, path.mid(1));
    object.insert(path.front(), inner);
}

// Numbers as people type them: a point (or a comma) for the decimals, whatever the locale.
std::optional<double> typedNumber(const QString& text) {
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

}  // namespace

JsonForm::JsonForm(std::span<const FormField> fields, QWidget* parent) : QWidget(parent) {
    auto* layout = new QFormLayout(this);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const FormField& field : fields) {
        const QString label = QString::fromUtf8(field.label);
        if (field.kind == FieldKind::Heading) {
            auto* heading =
                new QLabel(QStringLiteral("<b>%1</b>").arg(label.toHtmlEscaped()), this);
            layout->addRow(heading);
            continue;
        }
        Box box{field};
        QWidget* widget = nullptr;
        if (field.kind == FieldKind::Choice) {
            box.combo = new QComboBox(this);
            // Without fixed choices the box offers values found at run time and takes typing.
            box.combo->setEditable(*field.choices == '\0');
            box.combo->addItem(QString());
            if (*field.choices != '\0') {
                box.combo->addItems(QString::fromLatin1(field.choices).split(QLatin1Char('|')));
            }
            connect(box.combo, &QComboBox::currentTextChanged, this, &JsonForm::edited);
            widget = box.combo;
        } else {
            box.line = new QLineEdit(this);
            if (field.kind == FieldKind::Date) {
                box.line->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
            }
            connect(box.line, &QLineEdit::textEdited, this, &JsonForm::edited);
            widget = box.line;
        }
        widget->setObjectName(QString::fromLatin1(field.objectName));
        widget->setAccessibleName(label);
        layout->addRow(label + QLatin1Char(':'), widget);
        m_boxes.push_back(box);
    }
}

QJsonObject JsonForm::value() const {
    QJsonObject object = m_rest;
    for (const Box& box : m_boxes) {
        const QStringList path = pathOf(box.field.key);
        const QString text = (box.line ? box.line->text() : box.combo->currentText()).trimmed();
        if (text.isEmpty()) {
            continue;
        }
        if (box.field.kind == FieldKind::Number) {
            const auto number = typedNumber(text);
            setAt(object, path, number ? QJsonValue(*number) : QJsonValue(text));
        } else {
            setAt(object, path, text);
        }
    }
    return object;
}

void JsonForm::setValue(const QJsonObject& object) {
    m_rest = object;
    for (const Box& box : m_boxes) {
        const QStringList path = pathOf(box.field.key);
        const QJsonValue value = valueAt(object, path);
        removeAt(m_rest, path);
        const QString text = value.isDouble() ? numberText(value.toDouble()) : value.toString();
        if (box.line) {
            box.line->setText(text);
        } else {
            if (box.combo->findText(text) < 0 && !text.isEmpty()) {
                box.combo->addItem(text);
            }
            box.combo->setCurrentIndex(std::max(0, box.combo->findText(text)));
        }
    }
}

QString JsonForm::labelOf(const QString& key) const {
    for (const Box& box : m_boxes) {
        if (key == QLatin1String(box.field.key)) {
            return QString::fromUtf8(box.field.label);
        }
    }
    return key;
}

QStringList JsonForm::labelled(const QStringList& errors) const {
    QStringList out;
    static const QRegularExpression keyed(QStringLiteral("^([a-z_.\\[\\]0-9]+): (.*)$"));
    for (const QString& error : errors) {
        const auto match = keyed.match(error);
        out << (match.hasMatch()
                    ? QStringLiteral("%1: %2").arg(labelOf(match.captured(1)), match.captured(2))
                    : error);
    }
    return out;
}

QWidget* JsonForm::box(const QString& key) const {
    for (const Box& box : m_boxes) {
        if (key == QLatin1String(box.field.key)) {
            return box.line ? static_cast<QWidget*>(box.line) : box.combo;
        }
    }
    return nullptr;
}

void JsonForm::setChoices(const QString& key, const QStringList& choices) {
    for (const Box& box : m_boxes) {
        if (box.combo && key == QLatin1String(box.field.key)) {
            const QString current = box.combo->currentText();
            box.combo->clear();
            box.combo->addItem(QString());
            box.combo->addItems(choices);
            box.combo->setCurrentText(current);
        }
    }
}

void JsonForm::setEnabledAll(bool enabled) {
    for (const Box& box : m_boxes) {
        (box.line ? static_cast<QWidget*>(box.line) : box.combo)->setEnabled(enabled);
    }
}

}  // namespace trellicap
