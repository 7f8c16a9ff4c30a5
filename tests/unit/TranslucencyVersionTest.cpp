// The translucency entry is offered from Windows Server 2003 (5.2) on, and only on the NT family.
#include <gtest/gtest.h>

#include "player/logic/TranslucencyVersion.h"

namespace {

TEST(TranslucencyVersion, OfferedFromVersion5Point2OfTheNtFamilyOn)
{
    struct Case {
        const char* system;
        bool ntFamily;
        unsigned long major;
        unsigned long minor;
        bool supported;
    };
    const Case cases[] = {
        {"Windows 95", false, 4, 0, false},   {"Windows 98", false, 4, 10, false},
        {"Windows Me", false, 4, 90, false},  {"a 9x word claiming 6.0", false, 6, 0, false},
        {"Windows NT 4.0", true, 4, 0, false}, {"Windows 2000", true, 5, 0, false},
        {"Windows XP", true, 5, 1, false},    {"Windows Server 2003 / XP x64", true, 5, 2, true},
        {"an unknown 5.3", true, 5, 3, true},  {"Windows Vista", true, 6, 0, true},
        {"Windows 7", true, 6, 1, true},      {"Windows 8", true, 6, 2, true},
        {"Windows 10", true, 10, 0, true},    {"an NT 4.99", true, 4, 99, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TranslucencySupported(c.ntFamily, c.major, c.minor), c.supported) << c.system;
}

}  // namespace
