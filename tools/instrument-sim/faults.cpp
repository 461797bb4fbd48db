#include "faults.h"

#include <algorithm>
#include <string_view>

#include "text.h"

namespace instrument_sim {
namespace {

// A fault that takes a number: its name, its range and where the number goes.
struct NumberFault {
    std::string_view name;
    long lo;
    long hi;  // kUpToBlockBEnd: the last byte of block B
    void (*set)(Faults& f, int value);
};

constexpr long kUpToBlockBEnd = -1;

constexpr NumberFault kNumberFaults[] = {
    {"noise", 0, kMaxInsertedBytes, [](Faults& f, int v) { f.frame.noise = v; }},
    {"filler", 0, kMaxInsertedBytes, [](Faults& f, int v) { f.frame.filler = v; }},
    {"b255", 0, kUpToBlockBEnd, [](Faults& f, int v) { f.frame.blockB255 = v; }},
    {"cut", 0, kMaxByteCount, [](Faults& f, int v) { f.cutAfter = v; }},
    {"hangup", 0, kMaxByteCount, [](Faults& f, int v) { f.hangupAfter = v; }},
    {"delay", 0, kMaxDelayMs, [](Faults& f, int v) { f.replyDelayMs = v; }},
};

// 1 to 3 printable characters other than the blank.
bool validMemno(const std::string& s) {
    if (s.empty() || s.size() > static_cast<std::size_t>(kMemnoLength)) {
        return false;
    }
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return c > ' ' && static_cast<unsigned char>(c) < 127; });
}

bool applyNumberFault(const NumberFault& fault, const std::string* arg, int blockBLength, Faults& f,
                      std::string& error) {
    const long hi = fault.hi == kUpToBlockBEnd ? blockBLength - 1 : fault.hi;
    long v = 0;
    if (arg == nullptr || !parseInt(*arg, fault.lo, hi, v)) {
        error = std::string(fault.name) + " needs a number " + std::to_string(fault.lo) + ".." +
                std::to_string(hi);
        return false;
    }
    fault.set(f, static_cast<int>(v));
    return true;
}

}  // namespace

bool applyFault(const std::string& name, const std::string* arg, int blockBLength, Faults& f,
                std::string& error) {
    if (name == "sep255") {
        f.frame.separator255 = true;
        return true;
    }
    if (name == "nosep") {
        f.frame.noSeparator = true;
        return true;
    }
    if (name == "memno") {
        if (arg == nullptr || !validMemno(*arg)) {
            error = "memno needs 1 to 3 printable characters, e.g. 345 or 000";
            return false;
        }
        f.frame.memno = *arg;
        return true;
    }
    for (const NumberFault& fault : kNumberFaults) {
        if (fault.name == name) {
            return applyNumberFault(fault, arg, blockBLength, f, error);
        }
    }
    error = "unknown fault " + name;
    return false;
}

}  // namespace instrument_sim
