// Reading JOB.json and ITEM.json strictly: each key read by its type, a key of the wrong
// type or one the format does not know named in the errors ("probe.angle_deg: a number is
// expected"), so that a typing error in a file never passes unnoticed as a missing value.
#pragma once

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace trellicap::inspection {

class JsonFields {
public:
    // `where` prefixes the keys in messages ("probe."); errors collect in `errors`.
    JsonFields(QJsonObject object, QString where, QStringList& errors);

    [[nodiscard]] bool has(const char* key) const;
    // Missing or null: empty / nullopt. A value of another type is an error.
    [[nodiscard]] QString text(const char* key);
    [[nodiscard]] std::optional<double> number(const char* key);
    [[nodiscard]] std::optional<int> integer(const char* key);
    [[nodiscard]] std::optional<QDate> date(const char* key);  // "2026-12-08"
    [[nodiscard]] std::optional<bool> boolean(const char* key);
    [[nodiscard]] JsonFields object(const char* key);
    [[nodiscard]] QJsonArray array(const char* key);
    // Marks a key as known without reading it.
    void skip(const char* key);
    // The keys present that were never read are errors.
    void finish();

    void error(const char* key, const QString& what);
    [[nodiscard]] QString where() const { return m_where; }
    [[nodiscard]] QStringList& errors() const { return m_errors; }

private:
    [[nodiscard]] QJsonValue take(const char* key);

    QJsonObject m_object;
    QString m_where;
    QStringList& m_errors;
    QStringList m_read;
};

// The JSON document's top object; an error when the text is not one.
[[nodiscard]] std::optional<QJsonObject> jsonObjectOf(const QByteArray& text, QString* error);

// A date as JOB.json writes it.
[[nodiscard]] QString dateText(const QDate& date);

}  // namespace trellicap::inspection
