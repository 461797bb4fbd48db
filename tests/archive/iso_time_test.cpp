#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "archive/iso_time.h"

namespace trellicap::archive {
namespace {

// The process's zone for one test, as a POSIX rule (no zone files needed), put back after.
class ZoneForTest {
public:
    explicit ZoneForTest(const char* rule)
        : m_before(qgetenv("TZ")), m_had(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", rule);
        tzset();
    }
    ~ZoneForTest() {
        if (m_had) {
            qputenv("TZ", m_before);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }

private:
    QByteArray m_before;
    bool m_had;
};

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::UTC);
}

TEST(IsoTime, AMomentIsWrittenInTheLocalTimeOfItsDateWithTheOffsetNeverZ) {
    {
        // Half-hour offsets west of UTC, in winter and in summer time.
        ZoneForTest zone("NST3:30NDT,M3.2.0,M11.1.0");
        EXPECT_EQ(isoWithOffset(utc(2026, 1, 15, 12, 0, 0)), "2026-01-15T08:30:00-03:30");
        EXPECT_EQ(isoWithOffset(utc(2026, 7, 15, 12, 0, 0)), "2026-07-15T09:30:00-02:30");
        // Whatever zone the moment is held in, it is written in the PC's.
        EXPECT_EQ(isoWithOffset(utc(2026, 7, 15, 12, 0, 0).toLocalTime()),
                  "2026-07-15T09:30:00-02:30");
    }
    {
        ZoneForTest zone("IST-5:30");
        EXPECT_EQ(isoWithOffset(utc(2026, 12, 31, 20, 0, 59, 999)), "2027-01-01T01:30:59+05:30");
    }
    {
        ZoneForTest zone("UTC0");
        EXPECT_EQ(isoWithOffset(utc(2026, 3, 1, 0, 0, 0)), "2026-03-01T00:00:00+00:00");
        // Before 1970 the second is the one the moment lies in, as Qt writes it.
        EXPECT_EQ(isoWithOffset(utc(1969, 12, 31, 23, 59, 59, 500)), "1969-12-31T23:59:59+00:00");
    }
}

}  // namespace
}  // namespace trellicap::archive
