// One subcommand's command line: a table of its options feeds both the parser and the help
// text, so the two never disagree. Parse errors become usage failures (status 2).
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <vector>

namespace trellicap::cli {

struct OptionSyntax {
    QStringList names;  // "o", "output": -o and --output
    QString valueName;  // empty: a switch
    QString description;
};

struct CommandSyntax {
    QString name;      // "pdf"
    QString synopsis;  // "FILE -o OUT.pdf [--slots LIST | --marked]"
    QString summary;   // one line for the overall help
    QString details;   // paragraphs under the usage line of the command's help
    std::vector<OptionSyntax> options;
    int positionals;              // how many positional arguments the command takes
    int optionalPositionals = 0;  // how many more it may take
    QString needs = QStringLiteral("a record file");  // what the first positional is
};

class CommandLine {
public:
    // Parses the arguments after the subcommand's name. --help needs nothing else.
    CommandLine(const CommandSyntax& syntax, const QStringList& arguments);

    [[nodiscard]] bool helpAsked() const { return m_parser.isSet(QStringLiteral("help")); }
    [[nodiscard]] bool isSet(const QString& name) const { return m_parser.isSet(name); }
    [[nodiscard]] QString value(const QString& name) const { return m_parser.value(name); }
    // A required option's value: a usage failure when it is missing.
    [[nodiscard]] QString required(const QString& name) const;
    // A whole number within min..max, or the default when the option is not given.
    [[nodiscard]] int number(const QString& name, int fallback, int min, int max) const;
    [[nodiscard]] int requiredNumber(const QString& name, int min, int max) const;
    [[nodiscard]] double decimal(const QString& name, double fallback, double min,
                                 double max) const;
    [[nodiscard]] QString positional(int index) const;
    // Both options given where only one makes sense.
    void refuseTogether(const QString& first, const QString& second) const;

private:
    [[noreturn]] void failMissing(const QString& name) const;

    const CommandSyntax& m_syntax;
    QCommandLineParser m_parser;
};

[[nodiscard]] QString helpText(const CommandSyntax& syntax);

}  // namespace trellicap::cli
