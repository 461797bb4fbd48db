#include "display/panel_texts.h"

#include <algorithm>

#include "profiles/panel_walk.h"
#include "record/profile_text.h"
#include "record/text_codes.h"

namespace trellicap {

namespace {

const QString kOff = QStringLiteral("OFF    ");

// The codes of first..first+count-1 that lie inside the record.
std::span<const RecordValue> run(std::span<const RecordValue> capture, int first, int count) {
    const auto size = static_cast<int>(capture.size());
    const int begin = std::clamp(first, 0, size);
    const int end = std::clamp(first + count, begin, size);
    return capture.subspan(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

bool allBlank(std::span<const RecordValue> codes) {
    return std::all_of(codes.begin(), codes.end(), [](RecordValue c) { return c == 32; });
}

}  // namespace

void PanelTexts::set(std::string_view control, const QString& text) {
    for (auto& [name, value] : m_entries) {
        if (name == latin1(control)) {
            value = text;
            return;
        }
    }
    m_entries.emplace_back(QString(latin1(control)), text);
}

void PanelTexts::update(const PanelTexts& newer) {
    for (const auto& [control, text] : newer.m_entries) {
        const auto held =
            std::find_if(m_entries.begin(), m_entries.end(),
                         [&control](const auto& entry) { return entry.first == control; });
        if (held != m_entries.end()) {
            held->second = text;
        } else {
            m_entries.emplace_back(control, text);
        }
    }
}

const QString* PanelTexts::find(std::string_view control) const {
    for (const auto& [name, value] : m_entries) {
        if (name == latin1(control)) {
            return &value;
        }
    }
    return nullptr;
}

QString PanelTexts::text(std::string_view control) const {
    const QString* value = find(control);
    return value ? *value : QString();
}

bool PanelTexts::contains(std::string_view control) const {
    return find(control) != nullptr;
}

QString timeDateLine(std::span<const RecordValue> codes) {
    // Missing codes (a record cut short) read as 0 and end the line there.
    RecordValue c[10] = {};
    std::copy_n(codes.begin(), std::min<std::size_t>(codes.size(), 10), c);
    const auto pair = [&c](int i) { return codesToText(std::span<const RecordValue>(c + i, 2)); };
    return cutAtNul(QStringLiteral("Tm: ") + pair(0) + u':' + pair(2) + QStringLiteral(" Dt:") +
                    pair(4) + u'/' + pair(6) + u'/' + pair(8));
}

QString settingText(const ModelProfile& profile, std::span<const RecordValue> capture,
                    std::string_view control) {
    QString text;
    walkPanel(profile, [&](const PanelStep& step, int first) {
        if (step.control == control && !step.timeDate && text.isNull()) {
            text = cutAtNul(codesToText(run(capture, first, step.shown)) + latin1(step.suffix));
        }
    });
    return text.isNull() ? QString() : text;
}

PanelTexts buildPanelTexts(const ModelProfile& profile, std::span<const RecordValue> capture) {
    PanelTexts texts;
    walkPanel(profile, [&](const PanelStep& step, int first) {
        const auto codes = run(capture, first, step.shown);
        if (step.timeDate) {
            const bool needsClock = !profile.clockControl.empty();
            if (needsClock && texts.text(profile.clockControl) == kOff) {
                texts.set(step.control, QStringLiteral("Tm: "));
            } else {
                texts.set(step.control, timeDateLine(codes));
            }
        } else {
            // A box shows its text up to the first code 0, the suffix included.
            texts.set(step.control, cutAtNul(codesToText(codes) + latin1(step.suffix)));
        }
    });

    if (texts.text(profile.measureControl) == kOff) {
        for (const Readout& readout : profile.readouts) {
            texts.set(readout.control, QString());
        }
    }

    for (const HeaderField& field : profile.headerFields) {
        const auto codes = run(capture, field.firstRow, field.runLength);
        texts.set(field.control, allBlank(codes) ? QString() : cutAtNul(codesToText(codes)));
    }
    return texts;
}

}  // namespace trellicap
