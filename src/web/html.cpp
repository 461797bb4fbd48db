#include "web/html.h"

#include <QUrl>

namespace trellicap::web {

QString htmlEscape(QStringView text) {
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '&':
                escaped += QLatin1String("&amp;");
                break;
            case '<':
                escaped += QLatin1String("&lt;");
                break;
            case '>':
                escaped += QLatin1String("&gt;");
                break;
            case '"':
                escaped += QLatin1String("&quot;");
                break;
            case '\'':
                escaped += QLatin1String("&#39;");
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

QString queryString(const std::vector<std::pair<QString, QString>>& pairs) {
    QStringList parts;
    for (const auto& [name, value] : pairs) {
        parts.append(QString::fromLatin1(QUrl::toPercentEncoding(name)) + QLatin1Char('=') +
                     QString::fromLatin1(QUrl::toPercentEncoding(value)));
    }
    return parts.join(QLatin1Char('&'));
}

QString groupedNumber(qint64 value) {
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) {
        digits.insert(at, QLatin1Char(','));
    }
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

}  // namespace trellicap::web
