#include "web/listen_address.h"

#include <QStringList>
#include <QUrl>

namespace trellicap::web {

namespace {

// Four numbers 0..255 with dots: the first of them, or -1 for anything else.
int ipv4FirstOctet(const QString& host) {
    const QStringList parts = host.split(QLatin1Char('.'));
    if (parts.size() != 4) {
        return -1;
    }
    int first = -1;
    for (const QString& part : parts) {
        bool number = false;
        const int value = part.toInt(&number);
        if (!number || part.isEmpty() || part.size() > 3 || value < 0 || value > 255 ||
            !part.at(0).isDigit()) {
            return -1;
        }
        if (first < 0) {
            first = value;
        }
    }
    return first;
}

// An IPv6 address in its shortest form ("::1"), or empty when the text is none.
QString ipv6Canonical(const QString& host) {
    if (!host.contains(QLatin1Char(':'))) {
        return {};
    }
    const QUrl url(QStringLiteral("http://[%1]/").arg(host), QUrl::StrictMode);
    return url.isValid() ? url.host() : QString();
}

}  // namespace

ListenParse parseListenAddress(const QString& text) {
    ListenParse parse;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0) {
        parse.error =
            QStringLiteral("--listen takes ADDR:PORT, such as 127.0.0.1:8080, not '%1'").arg(text);
        return parse;
    }
    QString host = text.left(colon);
    const bool bracketed = host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'));
    if (bracketed) {
        host = host.mid(1, host.size() - 2);
    } else if (host.contains(QLatin1Char(':'))) {
        parse.error =
            QStringLiteral("an IPv6 address takes brackets: [%1]:PORT, not '%2'").arg(host, text);
        return parse;
    }
    bool number = false;
    const QString portText = text.mid(colon + 1);
    const int port = portText.toInt(&number);
    if (!number || port < 0 || port > 65535) {
        parse.error =
            QStringLiteral(
                "the port of --listen is a number from 1 to 65535 (0: a free one), not '%1'")
                .arg(portText);
        return parse;
    }
    if (!bracketed && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        host = QStringLiteral("localhost");
    } else if (bracketed) {
        host = ipv6Canonical(host);
    } else if (ipv4FirstOctet(host) < 0) {
        host.clear();
    }
    if (host.isEmpty()) {
        parse.error = QStringLiteral("--listen takes an IP address (or localhost), not '%1'")
                          .arg(text.left(colon));
        return parse;
    }
    parse.address = {host, port};
    return parse;
}

bool isLoopback(const ListenAddress& address) {
    return address.host == QLatin1String("localhost") || address.host == QLatin1String("::1") ||
           ipv4FirstOctet(address.host) == 127;
}

QString listenText(const ListenAddress& address) {
    return address.host.contains(QLatin1Char(':'))
               ? QStringLiteral("[%1]:%2").arg(address.host).arg(address.port)
               : QStringLiteral("%1:%2").arg(address.host).arg(address.port);
}

}  // namespace trellicap::web
