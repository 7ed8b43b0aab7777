#include "app/CQX_Entry.h"

#include <gtest/gtest.h>

TEST(Entry, FeedbackCommandLineCarriesVersionAndUser)
{
    EXPECT_EQ(CQX_Entry::FeedbackCommandLine("/opt/Q", 12345), "/opt/Q/Feedback.exe 2.6 12345");
    EXPECT_EQ(CQX_Entry::FeedbackCommandLine("/opt/Q/bin", 0), "/opt/Q/bin/Feedback.exe 2.6 0");
}

TEST(Entry, FeedbackCommandLineIsBounded)
{
    const std::string longDir(2000, 'd');
    EXPECT_EQ(CQX_Entry::FeedbackCommandLine("/" + longDir, 1).size(), 1023u);
}

