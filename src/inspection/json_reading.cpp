#include "inspection/json_reading.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <cmath>

namespace trellicap::inspection {

JsonFields::JsonFields(QJsonObject object, QString where, QStringList& errors)
    : m_object(std::move(object)), m_where(std::move(where)), m_errors(errors) {}

bool JsonFields::has(const char* key) const {
    const QJsonValue value = m_object.value(QLatin1String(key));
    return !value.isUndefined() && !value.isNull();
}

QJsonValue JsonFields::take(const char* key) {
    m_read << QLatin1String(key);
    return m_object.value(QLatin1String(key));
}

void JsonFields::error(const char* key, const QString& what) {
    m_errors << QStringLiteral("%1%2: %3").arg(m_where, QLatin1String(key), what);
}

QString JsonFields::text(const char* key) {
    const QJsonValue value = take(key);
    if (value.isUndefined() || value.isNull()) {
        return {};
    }
    if (!value.isString()) {
        error(key, QStringLiteral("a text in quotes is expected"));
        return {};
    }
    return value.toString();
}

std::optional<double> JsonFields::number(const char* key) {
    const QJsonValue value = take(key);
    if (value.isUndefined() || value.isNull()) {
        return std::nullopt;
    }
    if (!value.isDouble()) {
        error(key, QStringLiteral("a number is expected"));
        return std::nullopt;
    }
    return value.toDouble();
}

std::optional<int> JsonFields::integer(const char* key) {
    const auto value = number(key);
    if (!value) {
        return std::nullopt;
    }
    if (*value != std::floor(*value) || std::abs(*value) > 2e9) {
        error(key, QStringLiteral("a whole number is expected"));
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::optional<QDate> JsonFields::date(const char* key) {
    const QString value = text(key);
    if (value.isEmpty()) {
        return std::nullopt;
    }
    const QDate date = QDate::fromString(value, Qt::ISODate);
    if (!date.isValid()) {
        error(key, QStringLiteral("a date such as \"2026-12-08\" is expected"));
        return std::nullopt;
    }
    return date;
}

std::optional<bool> JsonFields::boolean(const char* key) {
    const QJsonValue value = take(key);
    if (value.isUndefined() || value.isNull()) {
        return std::nullopt;
    }
    if (!value.isBool()) {
        error(key, QStringLiteral("true or false is expected"));
        return std::nullopt;
    }
    return value.toBool();
}

JsonFields JsonFields::object(const char* key) {
    const QJsonValue value = take(key);
    const QString where = m_where + QLatin1String(key) + QLatin1Char('.');
    if (!value.isUndefined() && !value.isNull() && !value.isObject()) {
        error(key, QStringLiteral("an object in braces is expected"));
    }
    return JsonFields(value.toObject(), where, m_errors);
}

QJsonArray JsonFields::array(const char* key) {
    const QJsonValue value = take(key);
    if (!value.isUndefined() && !value.isNull() && !value.isArray()) {
        error(key, QStringLiteral("a list in brackets is expected"));
    }
    return value.toArray();
}

void JsonFields::skip(const char* key) {
    m_read << QLatin1String(key);
}

void JsonFields::finish() {
    for (const QString& key : m_object.keys()) {
        if (!m_read.contains(key)) {
            m_errors << QStringLiteral("%1%2: not a key of this file").arg(m_where, key);
        }
    }
}

std::optional<QJsonObject> jsonObjectOf(const QByteArray& text, QString* error) {
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parse);
    if (parse.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not JSON: %1 at character %2")
                     .arg(parse.errorString())
                     .arg(parse.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("the JSON holds no object in braces");
        return std::nullopt;
    }
    return document.object();
}

QString dateText(const QDate& date) {
    return date.toString(Qt::ISODate);
}

}  // namespace trellicap::inspection
