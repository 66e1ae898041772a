#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/search/command_word.h"

namespace pravik::core::search {
namespace {

TEST(CommandWord, WhatTheInterpreterRunsGoesToItAndNamesOfProgramsDoNot) {
  const std::set<std::u16string> onDisk = {u"notepad", u"C:\\Program Files\\Tool\\tool.exe", u"C:\\temp"};
  std::u16string asked;
  const ExistsLookup exists = [&](std::u16string_view word) {
    asked = std::u16string(word);
    return onDisk.count(asked) != 0;
  };
  // The interpreter's own commands, in any case, without a lookup; "echo." and "cd\" too.
  for (const char16_t* text : {u"echo hi", u"DIR /w", u"  cd ..", u"Set X=1", u"start notepad", u"type a.txt", u"echo.",
                               u"cd\\"}) {
    asked.clear();
    EXPECT_TRUE(FirstWordIsRunnable(text, exists));
    EXPECT_TRUE(asked.empty());
  }
  // A program on the search path, a path with spaces in quotes, a folder.
  EXPECT_TRUE(FirstWordIsRunnable(u"notepad a.txt", exists));
  EXPECT_EQ(asked, u"notepad");
  EXPECT_TRUE(FirstWordIsRunnable(u"\"C:\\Program Files\\Tool\\tool.exe\" /x", exists));
  EXPECT_EQ(asked, u"C:\\Program Files\\Tool\\tool.exe");
  EXPECT_TRUE(FirstWordIsRunnable(u"C:\\temp", exists));
  // A program's name of two words: its first word is nothing the interpreter knows.
  EXPECT_FALSE(FirstWordIsRunnable(u"Paint Studio", exists));
  EXPECT_EQ(asked, u"Paint");
  // Words that only begin like a command, Hangul, blanks, an open quote.
  for (const char16_t* text : {u"echoes", u"directory", u"메모장", u"", u"   ", u"\"", u"cdrom"})
    EXPECT_FALSE(FirstWordIsRunnable(text, exists));
}

}  // namespace
}  // namespace pravik::core::search
