// Records for the inspection's tests, of either model, written through the profile's roles:
// gate 1, RANGE, DELAY, gain and ANGLE as texts, DAC points, echo samples; and the words
// pdftotext -bbox finds on a PDF's pages.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <utility>
#include <vector>

#include "profiles/model_profile.h"
#include "profiles/panel_walk.h"
#include "record/text_codes.h"

namespace trellicap::testing {

struct EchoRecord {
    QString slot = QStringLiteral("012");  // MEM NO
    QString range = QStringLiteral("100");
    QString delay = QStringLiteral("0.0");
    QString gain = QStringLiteral("40.0");
    QString angle = QStringLiteral("60");
    QString gate = QStringLiteral("ON");
    QString start = QStringLiteral("20%");  // gate 1 from x = 50 ...
    QString end = QStringLiteral("60%");    // ... to x = 200: samples 49 to 199
    QString level = QStringLiteral("20%");
    QString dac = QStringLiteral("ON");
    std::vector<std::pair<int, int>> dacPoints = {{20, 80}, {100, 60}, {200, 40}};
    std::vector<std::pair<int, int>> samples = {{99, 30}};  // (sample, amplitude %)
};

inline void putBox(const ModelProfile& profile, std::vector<RecordValue>& record,
                   std::string_view control, const QString& text) {
    const auto index = walkedIndex(profile, control);
    if (!index) {
        return;
    }
    int at = *index;
    for (const RecordValue code : textToCodes(text)) {
        record[static_cast<std::size_t>(at++)] = code;
    }
}

// A whole record of the profile: settings area blank but for the texts given, the DAC points
// ended by a point of 0 %, the trace 0 but for the echo samples.
inline std::vector<RecordValue> echoRecord(const ModelProfile& profile, const EchoRecord& r) {
    std::vector<RecordValue> record(static_cast<std::size_t>(profile.recordSize()), 0);
    for (int i = 260; i <= 649 && i <= profile.recordLast; ++i) {
        record[static_cast<std::size_t>(i)] = 32;
    }
    const ControlRoles& roles = profile.roles;
    putBox(profile, record, "txtmemno", r.slot);
    putBox(profile, record, roles.range, r.range);
    putBox(profile, record, roles.delay, r.delay);
    putBox(profile, record, roles.gain, r.gain);
    putBox(profile, record, roles.angle, r.angle);
    putBox(profile, record, roles.dac, r.dac);
    putBox(profile, record, roles.gate1.mode, r.gate);
    putBox(profile, record, roles.gate1.start, r.start);
    putBox(profile, record, roles.gate1.end, r.end);
    putBox(profile, record, roles.gate1.level, r.level);
    putBox(profile, record, roles.gate2.mode, QStringLiteral("OFF"));
    int at = profile.dacPointFirst;
    for (const auto& [x, y] : r.dacPoints) {
        record[static_cast<std::size_t>(at++)] = static_cast<RecordValue>(x);
        record[static_cast<std::size_t>(at++)] = static_cast<RecordValue>(y);
    }
    record[static_cast<std::size_t>(at++)] = 0;
    record[static_cast<std::size_t>(at)] = 0;
    for (const auto& [i, a] : r.samples) {
        record[static_cast<std::size_t>(i)] = static_cast<RecordValue>(a);
    }
    return record;
}

inline QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct PdfWord {
    double xMin = -1;
    double yMin = -1;
    QString text;
};

// Every word pdftotext -bbox finds on page `page` (from 1) of its output, in points.
inline std::vector<PdfWord> pdfWords(const QString& bbox, int page) {
    const QStringList pages = bbox.split(QStringLiteral("<page "));
    std::vector<PdfWord> words;
    if (page >= pages.size()) {
        return words;
    }
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = word.globalMatch(pages[page]); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

// The first word equal to `text` on the page; xMin -1 when there is none.
inline PdfWord pdfWord(const QString& bbox, int page, const QString& text) {
    for (const PdfWord& word : pdfWords(bbox, page)) {
        if (word.text == text) {
            return word;
        }
    }
    return {};
}

// The words on the page whose tops lie within 2 points of y, left to right, joined.
inline QString pdfLineAt(const QString& bbox, int page, double y) {
    std::vector<PdfWord> line;
    for (const PdfWord& word : pdfWords(bbox, page)) {
        if (std::abs(word.yMin - y) < 2) {
            line.push_back(word);
        }
    }
    std::sort(line.begin(), line.end(),
              [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
    QStringList texts;
    for (const PdfWord& word : line) {
        texts << word.text;
    }
    return texts.join(QLatin1Char(' '));
}

}  // namespace trellicap::testing
