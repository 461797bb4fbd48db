#include "archive/version_columns.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>

#include "record/header_fields.h"
#include "record/profile_text.h"

namespace trellicap::archive {

namespace {

bool stored(const VersionColumn& column) {
    return column.place() == ColumnPlace::Version;
}

QString typeOf(const VersionColumn& column, Engine engine) {
    const EngineTypes& types = engineTypes(engine);
    switch (column.kind) {
        case ColumnKind::Text:
        case ColumnKind::HeaderJson:
            return QStringLiteral("TEXT NOT NULL");
        case ColumnKind::OptionalText:
            return QStringLiteral("TEXT");
        case ColumnKind::Integer:
            return QStringLiteral("INTEGER NOT NULL");
        case ColumnKind::BigInt:
            return latin1(types.bigint) + QStringLiteral(" NOT NULL");
    }
    return QStringLiteral("TEXT");
}

// What an existing row gets when a later version adds the column.
QString defaultOf(const VersionColumn& column) {
    switch (column.kind) {
        case ColumnKind::Integer:
        case ColumnKind::BigInt:
            return QStringLiteral(" DEFAULT 0");
        case ColumnKind::OptionalText:
            return {};
        case ColumnKind::Text:
            return QStringLiteral(" DEFAULT ''");
        case ColumnKind::HeaderJson:
            return QStringLiteral(" DEFAULT '[]'");
    }
    return {};
}

// A Sender column on the team server; a server older than schema version 5 has no host
// names in laptops, and names the laptop by its working folder alone.
QString senderExpression(const VersionColumn& column, bool withHostName) {
    QString expression = latin1(column.onServer);
    if (!withHostName) {
        expression.replace(QStringLiteral("NULLIF(l.host_name, ''), "), QString());
    }
    return expression;
}

// Qt binds a null QString as NULL; an empty text is still a text.
QString notNull(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

}  // namespace

QString versionColumnDefinitions(int version, Engine engine) {
    QStringList definitions;
    for (const VersionColumn& column : kVersionColumns) {
        if (stored(column) && column.since == version) {
            definitions.append(latin1(column.name) + QLatin1Char(' ') + typeOf(column, engine));
        }
    }
    return definitions.join(QStringLiteral(", "));
}

QStringList addedVersionColumns(int version, Engine engine) {
    QStringList statements;
    if (version <= 1) {
        return statements;  // version 1 makes the table with its columns
    }
    for (const VersionColumn& column : kVersionColumns) {
        if (stored(column) && column.since == version) {
            statements.append(QStringLiteral("ALTER TABLE record_versions ADD COLUMN ") +
                              latin1(column.name) + QLatin1Char(' ') + typeOf(column, engine) +
                              defaultOf(column));
        }
    }
    return statements;
}

QStringList storedColumnNames() {
    QStringList names;
    for (const VersionColumn& column : kVersionColumns) {
        if (stored(column)) {
            names.append(latin1(column.name));
        }
    }
    return names;
}

QVariantList storedValues(const KeptVersion& kept) {
    QVariantList values;
    for (const VersionColumn& column : kVersionColumns) {
        if (!stored(column)) {
            continue;
        }
        switch (column.kind) {
            case ColumnKind::Text:
                values.append(notNull(kept.*column.member.text));
                break;
            case ColumnKind::OptionalText:
                values.append((kept.*column.member.text).isEmpty()
                                  ? QVariant()
                                  : QVariant(kept.*column.member.text));
                break;
            case ColumnKind::Integer:
                values.append(kept.*column.member.integer);
                break;
            case ColumnKind::BigInt:
                values.append(kept.*column.member.bigint);
                break;
            case ColumnKind::HeaderJson:
                values.append(headerToJson(kept.header));
                break;
        }
    }
    return values;
}

QString insertVersionSql(bool keepExisting) {
    const QStringList names = storedColumnNames();
    QStringList marks;
    marks.fill(QStringLiteral("?"), names.size());
    return QStringLiteral("INSERT INTO record_versions (%1) VALUES (%2)%3")
        .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")),
             keepExisting ? QStringLiteral(" ON CONFLICT DO NOTHING") : QString());
}

QString searchSelectList(Engine engine, bool withHostName) {
    QStringList list;
    for (int i = 0; i < kSearchColumns; ++i) {
        const VersionColumn& column = kVersionColumns[i];
        if (stored(column)) {
            list.append(QStringLiteral("v.") + latin1(column.name));
        } else if (engine == Engine::Postgres) {
            list.append(senderExpression(column, withHostName) + QStringLiteral(" AS ") +
                        latin1(column.name));
        } else {
            list.append(QStringLiteral("'' AS ") + latin1(column.name));
        }
    }
    return list.join(QStringLiteral(", "));
}

QString senderJoins(Engine engine) {
    if (engine != Engine::Postgres) {
        return {};
    }
    return QStringLiteral(
        " LEFT JOIN sent_from f ON f.uuid = v.uuid AND f.version = v.version"
        " LEFT JOIN laptops l ON l.laptop_uuid = f.laptop_uuid");
}

QString sortExpression(int column, Engine engine, bool withHostName) {
    if (column < 0 || column >= kSearchColumns) {
        column = kColArrivedMs;
    }
    const VersionColumn& chosen = kVersionColumns[column];
    if (!chosen.sortBy.empty()) {
        return QStringLiteral("v.") + latin1(chosen.sortBy);
    }
    if (stored(chosen)) {
        return QStringLiteral("v.") + latin1(chosen.name);
    }
    if (engine != Engine::Postgres) {
        return QStringLiteral("v.arrived_ms");  // empty everywhere else: the default order
    }
    return senderExpression(chosen, withHostName);
}

KeptVersion versionFromRow(const QSqlQuery& row) {
    KeptVersion kept;
    for (int i = 0; i < kSearchColumns; ++i) {
        const VersionColumn& column = kVersionColumns[i];
        const QVariant value = row.value(i);
        switch (column.kind) {
            case ColumnKind::Text:
            case ColumnKind::OptionalText:
                kept.*column.member.text = value.toString();
                break;
            case ColumnKind::Integer:
                kept.*column.member.integer = value.toInt();
                break;
            case ColumnKind::BigInt:
                kept.*column.member.bigint = value.toLongLong();
                break;
            case ColumnKind::HeaderJson:
                kept.header = headerFromJson(value.toString());
                break;
        }
    }
    return kept;
}

namespace {

// Whether QJsonDocument writes the text as it is: printable ASCII without a quote or a
// backslash (what an instrument's header boxes nearly always hold).
bool plainJsonText(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7E || u == u'"' || u == u'\\') {
            return false;
        }
    }
    return true;
}

}  // namespace

QString headerToJson(const std::vector<std::pair<QString, QString>>& header) {
    // Pairs, so the profile's order of the boxes stays. Plain texts are written here as
    // QJsonDocument writes them, a tenth of its work on every kept capture; anything else
    // is left to it.
    bool plain = true;
    qsizetype length = 2;
    for (const auto& [name, text] : header) {
        plain = plain && plainJsonText(name) && plainJsonText(text);
        length += name.size() + text.size() + 8;
    }
    if (plain) {
        QString json;
        json.reserve(length);
        json.append(QLatin1Char('['));
        for (const auto& [name, text] : header) {
            if (json.size() > 1) {
                json.append(QLatin1Char(','));
            }
            json.append(QLatin1String("[\"")).append(name).append(QLatin1String("\",\""));
            json.append(text).append(QLatin1String("\"]"));
        }
        json.append(QLatin1Char(']'));
        return json;
    }
    QJsonArray pairs;
    for (const auto& [name, text] : header) {
        pairs.append(QJsonArray{name, text});
    }
    return QString::fromUtf8(QJsonDocument(pairs).toJson(QJsonDocument::Compact));
}

std::vector<std::pair<QString, QString>> headerFromJson(const QString& json) {
    std::vector<std::pair<QString, QString>> header;
    for (const QJsonValue pair : QJsonDocument::fromJson(json.toUtf8()).array()) {
        const QJsonArray nameText = pair.toArray();
        header.emplace_back(nameText.at(0).toString(), nameText.at(1).toString());
    }
    return header;
}

QJsonObject versionJson(const KeptVersion& kept, const ModelProfile* profile) {
    QJsonObject object;
    for (const VersionColumn& column : kVersionColumns) {
        if (column.jsonKey.empty()) {
            continue;
        }
        const QString key = latin1(column.jsonKey);
        switch (column.kind) {
            case ColumnKind::Text:
                object.insert(key, kept.*column.member.text);
                break;
            case ColumnKind::OptionalText:
                object.insert(key, (kept.*column.member.text).isEmpty()
                                       ? QJsonValue()
                                       : QJsonValue(kept.*column.member.text));
                break;
            case ColumnKind::Integer:
                object.insert(key, kept.*column.member.integer);
                break;
            case ColumnKind::BigInt:
                object.insert(key, static_cast<double>(kept.*column.member.bigint));
                break;
            case ColumnKind::HeaderJson: {
                QJsonObject header;
                for (const auto& [name, text] : kept.header) {
                    QString label = name;
                    if (profile) {
                        for (const HeaderField& field : profile->headerFields) {
                            if (qs(field.control) == name) {
                                label = headerFieldLabel(field);
                            }
                        }
                    }
                    header.insert(label, text);
                }
                object.insert(key, header);
                break;
            }
        }
    }
    return object;
}

}  // namespace trellicap::archive
