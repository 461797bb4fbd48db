#include "cli/command_line.h"

#include "cli/cli_failure.h"

namespace trellicap::cli {

namespace {

const OptionSyntax kHelp{
    {QStringLiteral("h"), QStringLiteral("help")}, {}, QStringLiteral("this text")};

QString optionSyntax(const OptionSyntax& option) {
    QStringList names;
    for (const QString& name : option.names) {
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    }
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName.isEmpty()) {
        syntax += QLatin1Char(' ') + option.valueName;
    }
    return syntax;
}

}  // namespace

CommandLine::CommandLine(const CommandSyntax& syntax, const QStringList& arguments)
    : m_syntax(syntax) {
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(QCommandLineOption(kHelp.names));
    for (const OptionSyntax& option : syntax.options) {
        m_parser.addOption(QCommandLineOption(option.names, option.description, option.valueName));
    }
    // The parser takes the program's name first.
    if (!m_parser.parse(QStringList{QStringLiteral("trellicap-cli")} + arguments)) {
        failUsage(m_parser.errorText());
    }
    if (helpAsked()) {
        return;
    }
    const auto given = m_parser.positionalArguments().size();
    if (given < syntax.positionals) {
        failUsage(QStringLiteral("%1 needs %2.").arg(syntax.name, syntax.needs));
    }
    const int most = syntax.positionals + syntax.optionalPositionals;
    if (given > most) {
        failUsage(QStringLiteral("unexpected argument '%1'.")
                      .arg(m_parser.positionalArguments().at(most)));
    }
}

QString CommandLine::required(const QString& name) const {
    if (!isSet(name)) {
        failMissing(name);
    }
    return value(name);
}

void CommandLine::failMissing(const QString& name) const {
    for (const OptionSyntax& option : m_syntax.options) {
        if (option.names.contains(name)) {
            failUsage(QStringLiteral("%1 needs %2.").arg(m_syntax.name, optionSyntax(option)));
        }
    }
    failUsage(QStringLiteral("%1 needs --%2.").arg(m_syntax.name, name));
}

int CommandLine::number(const QString& name, int fallback, int min, int max) const {
    if (!isSet(name)) {
        return fallback;
    }
    bool ok = false;
    const int n = value(name).toInt(&ok);
    if (!ok || n < min || n > max) {
        failUsage(QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'.")
                      .arg(name)
                      .arg(min)
                      .arg(max)
                      .arg(value(name)));
    }
    return n;
}

int CommandLine::requiredNumber(const QString& name, int min, int max) const {
    if (!isSet(name)) {
        failMissing(name);
    }
    return number(name, min, min, max);
}

double CommandLine::decimal(const QString& name, double fallback, double min, double max) const {
    if (!isSet(name)) {
        return fallback;
    }
    bool ok = false;
    // QString::toDouble reads the C locale: "1.5" is 1.5 whatever the user's locale.
    const double x = value(name).toDouble(&ok);
    if (!ok || !(x >= min && x <= max)) {
        failUsage(QStringLiteral("--%1 takes a number from %2 to %3, not '%4'.")
                      .arg(name)
                      .arg(min)
                      .arg(max)
                      .arg(value(name)));
    }
    return x;
}

QString CommandLine::positional(int index) const {
    return m_parser.positionalArguments().value(index);
}

void CommandLine::refuseTogether(const QString& first, const QString& second) const {
    if (isSet(first) && isSet(second)) {
        failUsage(QStringLiteral("--%1 and --%2 cannot be given together.").arg(first, second));
    }
}

QString helpText(const CommandSyntax& syntax) {
    QString text = QStringLiteral("Usage: trellicap-cli %1 %2\n\n%3\n\nOptions:\n")
                       .arg(syntax.name, syntax.synopsis, syntax.details);
    std::vector<OptionSyntax> options = syntax.options;
    options.push_back(kHelp);
    for (const OptionSyntax& option : options) {
        text += QStringLiteral("  %1\n      %2\n").arg(optionSyntax(option), option.description);
    }
    return text;
}

}  // namespace trellicap::cli
