// What a record file is made of, as the reader reads it: decimal whole numbers with an
// optional sign, split by blanks and line ends (CR, LF) or by one comma, right after a value
// ("1,2") or after the blanks behind it ("1 , 2"). Inline: the reader's loop runs through it
// for every byte of the file.
#pragma once

#include <QByteArray>
#include <algorithm>
#include <array>

#include "profiles/model_profile.h"

namespace trellicap::record_file {

enum class ByteKind : unsigned char { Other, Blank, Comma };

// One look-up per byte instead of a chain of comparisons.
inline constexpr std::array<ByteKind, 256> kByteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    kinds[' '] = ByteKind::Blank;
    kinds['\r'] = ByteKind::Blank;
    kinds['\n'] = ByteKind::Blank;
    kinds[','] = ByteKind::Comma;
    return kinds;
}();

inline ByteKind kindOf(char c) {
    return kByteKinds[static_cast<unsigned char>(c)];
}
inline bool isBlank(char c) {
    return kindOf(c) == ByteKind::Blank;
}
inline bool isSeparator(char c) {
    return kindOf(c) != ByteKind::Other;
}

// A value's bytes read so far, whole or cut by the end of a piece of the file: enough to
// give its verdict without keeping more than a few numbers.
class ValueScan {
public:
    enum class Verdict { Value, NotANumber, OutOfRange };

    // Reads the value's bytes from p on while they can still make a number. Returns where it
    // stopped: at the value's separator, at end, or at the first byte no number holds (the
    // value is bad from then on, whatever follows).
    const char* take(const char* p, const char* end) {
        if (!m_started && p != end) {
            m_started = true;
            if (*p == '-' || *p == '+') {
                m_negative = *p == '-';
                ++p;
            }
        }
        const char* const firstDigit = p;
        int magnitude = m_magnitude;
        while (p != end && static_cast<unsigned char>(*p - '0') <= 9) {
            magnitude = std::min(magnitude * 10 + (*p - '0'), kMagnitudeCap);
            ++p;
        }
        m_magnitude = magnitude;
        m_digits = m_digits || p != firstDigit;
        m_bad = m_bad || (p != end && !isSeparator(*p));
        return p;
    }

    [[nodiscard]] bool started() const { return m_started; }
    [[nodiscard]] bool bad() const { return m_bad; }
    [[nodiscard]] Verdict verdict() const {
        if (m_bad || !m_digits) {
            return Verdict::NotANumber;
        }
        return m_magnitude > (m_negative ? 32768 : 32767) ? Verdict::OutOfRange : Verdict::Value;
    }
    // For Verdict::Value only.
    [[nodiscard]] RecordValue value() const {
        return static_cast<RecordValue>(m_negative ? -m_magnitude : m_magnitude);
    }

private:
    static constexpr int kMagnitudeCap = 100000;  // anything above 32768 is out of range alike

    int m_magnitude = 0;
    bool m_started = false;
    bool m_negative = false;
    bool m_digits = false;
    bool m_bad = false;
};

// The first bytes of a value, kept across pieces for the message when it stops the load.
class ValueText {
public:
    static constexpr int kKept = 16;

    // Keeps as much of [from, to) as there is room for.
    void append(const char* from, const char* to) {
        const auto n = std::min<std::ptrdiff_t>(to - from, room());
        std::copy(from, from + n, m_bytes.begin() + m_size);
        m_size += static_cast<int>(n);
    }
    [[nodiscard]] int room() const { return kKept - m_size; }
    [[nodiscard]] bool full() const { return m_size == kKept; }
    [[nodiscard]] QByteArray bytes() const { return QByteArray(m_bytes.data(), m_size); }

private:
    std::array<char, kKept> m_bytes{};
    int m_size = 0;
};

}  // namespace trellicap::record_file
