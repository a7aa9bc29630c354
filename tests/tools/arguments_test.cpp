// The one reader of INPUT -o OUTPUT [--option VALUE] words: each command's
// sentences depend on which fault it meets first.

#include "arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string checkDigit(const std::string& value) {
    return value.size() == 1 && value[0] >= '0' && value[0] <= '9' ? "" : "--n wants a digit";
}

constexpr CommandOption kOptions[] = {{"-o"}, {"--n", true, checkDigit}, {"--flag", false}};

struct Read {
    bool ok = false;
    CommandArguments arguments;
    std::string error;
};

Read read(std::vector<std::string> words, bool emptyInputCounts = true) {
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(word.data());
    Read result;
    result.ok = readArguments(args, {kOptions, "needs a value", "one input only", emptyInputCounts},
                              result.arguments, result.error);
    return result;
}

TEST(Arguments, TheFirstFaultIsTheOneSaid) {
    EXPECT_EQ(read({"--n", "x", "--bad"}).error, "--n wants a digit");
    EXPECT_EQ(read({"--bad", "--n", "x"}).error, "unknown option '--bad'");
    EXPECT_EQ(read({"a", "b", "-o"}).error, "one input only");
    EXPECT_EQ(read({"a", "-o"}).error, "-o needs a value");
    EXPECT_EQ(read({"-"}).error, "unknown option '-'");
}

TEST(Arguments, LastValueWinsAndAnEmptyInputCountsOnlyWhereTheCommandSaysSo) {
    const Read words = read({"in", "-o", "first", "--flag", "-o", "second"});
    ASSERT_TRUE(words.ok) << words.error;
    EXPECT_EQ(*words.arguments.input, "in");
    EXPECT_EQ(*words.arguments.value("-o"), "second");
    EXPECT_TRUE(words.arguments.has("--flag"));
    EXPECT_FALSE(words.arguments.has("--n"));

    EXPECT_EQ(read({"", "in"}).error, "one input only");
    const Read replaced = read({"", "in"}, false);
    ASSERT_TRUE(replaced.ok) << replaced.error;
    EXPECT_EQ(*replaced.arguments.input, "in");
}

}  // namespace
