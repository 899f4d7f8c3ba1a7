#include <gtest/gtest.h>

#include "core/editors/code_choices.h"

namespace tagwarden {
namespace {

using Choices = std::vector<std::string>;

TEST(CodeChoices, OffersEveryIdOfTheTypeButTheCurrentOne)
{
    EXPECT_EQ(codeChoices("pjacpjaapjab", "pjaa"), (Choices{"pjac", "pjab"}));
    // Compared up to a zero byte: "pj" is the current "pj\0x".
    EXPECT_EQ(codeChoices(std::string("pj\0\0pjab", 8), std::string("pj\0x", 4)), (Choices{"pjab"}));
    EXPECT_EQ(codeChoices("pjaa", "zzzz"), (Choices{"pjaa"}));
}

TEST(CodeChoices, OffersNothingWithoutWholeIds)
{
    EXPECT_TRUE(codeChoices("", "pjaa").empty());        // no file open in the main window
    EXPECT_TRUE(codeChoices("pjaapja", "pjzz").empty());  // not a multiple of four
}

}  // namespace
}  // namespace tagwarden
