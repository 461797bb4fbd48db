#include "web/search_request.h"

#include <QDate>
#include <QDateTime>

#include "inspection/job.h"
#include "web/html.h"
#include "web/web_models.h"

namespace trellicap::web {

namespace {

const QStringList kSources = {QStringLiteral("capture"), QStringLiteral("unsolicited"),
                              QStringLiteral("file"), QStringLiteral("restore"),
                              QStringLiteral("edit")};
const std::vector<int> kPageSizes = {10, 25, 50, 100};

QString param(const QueryParams& params, const char* name) {
    const auto found = params.find(QString::fromLatin1(name));
    return found == params.end() ? QString() : found->second;
}

// A day (2026-12-08) reaches from its first to its last moment, local time, as the command
// line's --from and --to do; a moment (2026-12-08T14:02) is taken as it is.
std::optional<qint64> dateBound(const QString& text, bool end) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid()) {
        return (end ? day.addDays(1) : day).startOfDay().toMSecsSinceEpoch();
    }
    const QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (moment.isValid()) {
        return moment.toMSecsSinceEpoch() + (end ? 1 : 0);
    }
    return std::nullopt;
}

std::vector<std::pair<QString, QString>> formPairs(const SearchForm& form) {
    std::vector<std::pair<QString, QString>> pairs;
    const auto add = [&pairs](const char* name, const QString& value) {
        if (!value.isEmpty()) {
            pairs.emplace_back(QString::fromLatin1(name), value);
        }
    };
    add("q", form.text);
    add("from", form.from);
    add("to", form.to);
    add("slot", form.slot);
    add("model", form.model);
    add("source", form.source);
    add("job", form.job);
    add("result", form.result);
    add("all", form.allVersions ? QStringLiteral("1") : QString());
    if (!form.sort.isEmpty() && form.sort != QLatin1String("arrived")) {
        add("sort", form.sort);
    }
    if (form.ascending) {
        add("dir", QStringLiteral("asc"));
    }
    if (form.pageSize != kDefaultPageSize) {
        add("size", QString::number(form.pageSize));
    }
    return pairs;
}

}  // namespace

const std::vector<std::pair<QString, archive::SearchColumn>>& sortColumns() {
    static const std::vector<std::pair<QString, archive::SearchColumn>> columns = {
        {QStringLiteral("arrived"), archive::kColArrivedMs},
        {QStringLiteral("model"), archive::kColModel},
        {QStringLiteral("slot"), archive::kColSlot},
        {QStringLiteral("version"), archive::kColVersion},
        {QStringLiteral("source"), archive::kColSource},
        {QStringLiteral("stored"), archive::kColTimeDate},
        {QStringLiteral("range"), archive::kColRange},
        {QStringLiteral("gain"), archive::kColGain},
    };
    return columns;
}

SearchRequest readSearchRequest(const QueryParams& params) {
    SearchRequest request;
    SearchForm& form = request.form;
    archive::SearchFilter& filter = request.filter;

    form.text = param(params, "q").trimmed();
    if (form.text.size() > kLongestSearchText) {
        request.errors.append(QStringLiteral("The search text is longer than %1 characters.")
                                  .arg(kLongestSearchText));
        form.text.truncate(kLongestSearchText);
    }
    filter.text = form.text;

    form.from = param(params, "from").trimmed();
    form.to = param(params, "to").trimmed();
    if (!form.from.isEmpty()) {
        filter.fromMs = dateBound(form.from, false);
        if (!filter.fromMs) {
            request.errors.append(
                QStringLiteral("\"%1\" is not a date such as 2026-12-08.").arg(form.from.left(40)));
        }
    }
    if (!form.to.isEmpty()) {
        filter.toMs = dateBound(form.to, true);
        if (!filter.toMs) {
            request.errors.append(
                QStringLiteral("\"%1\" is not a date such as 2026-12-08.").arg(form.to.left(40)));
        }
    }
    if (filter.fromMs && filter.toMs && *filter.toMs <= *filter.fromMs) {
        request.errors.append(QStringLiteral("The date range ends before it starts."));
    }

    form.slot = param(params, "slot").trimmed();
    if (!form.slot.isEmpty()) {
        bool number = false;
        const int slot = form.slot.toInt(&number);
        if (!number || slot < 1 || slot > kSlotCount) {
            request.errors.append(QStringLiteral("The slot (Mem) is a number from 1 to %1, not "
                                                 "\"%2\".")
                                      .arg(kSlotCount)
                                      .arg(form.slot.left(40)));
        } else {
            filter.slot = slot;
        }
    }

    form.model = param(params, "model").trimmed().toLower();
    if (!form.model.isEmpty() && !profileByKey(form.model)) {
        request.errors.append(QStringLiteral("There is no model \"%1\".").arg(form.model.left(40)));
        form.model.clear();
    }
    filter.model = form.model;

    form.source = param(params, "source").trimmed().toLower();
    if (!form.source.isEmpty() && !kSources.contains(form.source)) {
        request.errors.append(
            QStringLiteral("There is no origin \"%1\".").arg(form.source.left(40)));
        form.source.clear();
    }
    filter.source = form.source;

    form.job = param(params, "job").trimmed().left(kLongestSearchText);
    filter.job = form.job;
    form.result = param(params, "result").trimmed();
    if (!form.result.isEmpty() && !inspection::resultFromText(form.result)) {
        request.errors.append(
            QStringLiteral("There is no result \"%1\".").arg(form.result.left(40)));
        form.result.clear();
    }
    filter.result = form.result;

    form.allVersions = !param(params, "all").isEmpty();
    filter.allVersions = form.allVersions;

    form.sort = param(params, "sort").trimmed().toLower();
    if (form.sort.isEmpty()) {
        form.sort = QStringLiteral("arrived");
    }
    bool knownSort = false;
    for (const auto& [name, column] : sortColumns()) {
        if (name == form.sort) {
            request.orderBy = column;
            knownSort = true;
        }
    }
    if (!knownSort) {
        request.errors.append(
            QStringLiteral("The results cannot be sorted by \"%1\".").arg(form.sort.left(40)));
        form.sort = QStringLiteral("arrived");
    }
    const QString direction = param(params, "dir").trimmed().toLower();
    form.ascending = direction == QLatin1String("asc");
    if (!direction.isEmpty() && !form.ascending && direction != QLatin1String("desc")) {
        request.errors.append(QStringLiteral("The order is \"asc\" or \"desc\"."));
    }

    const QString size = param(params, "size").trimmed();
    if (!size.isEmpty()) {
        const int wanted = size.toInt();
        if (std::find(kPageSizes.begin(), kPageSizes.end(), wanted) == kPageSizes.end()) {
            request.errors.append(
                QStringLiteral("A page holds 10, 25, 50 or 100 results, not \"%1\".")
                    .arg(size.left(40)));
        } else {
            form.pageSize = wanted;
        }
    }

    const QString page = param(params, "page").trimmed();
    if (!page.isEmpty()) {
        bool number = false;
        const qint64 wanted = page.toLongLong(&number);
        if (!number || wanted < 1 || wanted > kLastPage) {
            request.errors.append(QStringLiteral("There is no page \"%1\".").arg(page.left(40)));
        } else {
            request.page = wanted;
        }
    }
    return request;
}

QString searchLink(const SearchForm& form, qint64 page) {
    auto pairs = formPairs(form);
    if (page > 1) {
        pairs.emplace_back(QStringLiteral("page"), QString::number(page));
    }
    return QStringLiteral("/?") + queryString(pairs);
}

QString sortLink(const SearchForm& form, const QString& sort, bool ascending) {
    SearchForm sorted = form;
    sorted.sort = sort;
    sorted.ascending = ascending;
    return searchLink(sorted, 1);
}

QString filterKey(const archive::SearchFilter& filter) {
    const auto number = [](const std::optional<qint64>& value) {
        return value ? QString::number(*value) : QStringLiteral("-");
    };
    return QStringList{number(filter.fromMs),
                       number(filter.toMs),
                       filter.slot ? QString::number(*filter.slot) : QStringLiteral("-"),
                       filter.model,
                       filter.source,
                       filter.allVersions ? QStringLiteral("all") : QStringLiteral("newest"),
                       filter.text,
                       filter.job,
                       filter.result}
        .join(QLatin1Char('\x1f'));
}

}  // namespace trellicap::web
