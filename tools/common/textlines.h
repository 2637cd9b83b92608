// Lines and words of the tools' text sources (.pic, .sheet, .font): one splitter and one
// tokenizer, so every source reads comments and blanks the same way.
#pragma once

#include <string>
#include <vector>

namespace toolcommon {

// The text's lines without their "\n" or "\r\n"; a last line without a newline counts too.
std::vector<std::string> SplitLines(const std::string& text);

// Space and tab.
bool IsBlank(char c);

// The line's words, split on blanks; a word starting with '#' begins a comment that runs to the
// end of the line ("a#b" is one word).
std::vector<std::string> Tokens(const std::string& line);

// True for a line of blanks only, or one whose first non-blank character is '#'.
bool IsBlankOrComment(const std::string& line);

}  // namespace toolcommon
