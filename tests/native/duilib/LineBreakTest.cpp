// Line breaking against Unicode's own conformance file, LineBreakTest.txt from
// Debian's unicode-data (scripts/setup.sh installs it), every line of it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "duilib/UILineBreak.h"

using namespace DuiLib;

namespace {

const char kTestFile[] = "/usr/share/unicode/auxiliary/LineBreakTest.txt";

// UTF-16 on Windows, UTF-32 elsewhere: the same text the toolkit receives.
void AppendCodePoint(std::wstring& text, char32_t cp) {
    if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
        cp -= 0x10000;
        text += static_cast<wchar_t>(0xD800 + (cp >> 10));
        text += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        text += static_cast<wchar_t>(cp);
    }
}

// "× 0023 ÷ 0020 ÷" -> the text and, per code point boundary, whether it breaks.
bool ParseCase(const std::string& line, std::wstring& text, std::vector<size_t>& boundaries,
               std::vector<bool>& breaks) {
    std::istringstream in(line.substr(0, line.find('#')));
    std::string token;
    while (in >> token) {
        if (token == "\xC3\x97" || token == "\xC3\xB7") {  // × and ÷ in UTF-8
            boundaries.push_back(text.size());
            breaks.push_back(token == "\xC3\xB7");
        } else {
            AppendCodePoint(text, static_cast<char32_t>(std::stoul(token, nullptr, 16)));
        }
    }
    return !text.empty() && boundaries.size() >= 2;
}

TEST(LineBreakTest, EveryLineOfUnicodesConformanceFileBreaksAsItSays) {
    std::ifstream file(kTestFile);
    ASSERT_TRUE(file) << kTestFile << " is missing: install unicode-data (scripts/setup.sh)";
    int run = 0, failed = 0;
    std::string line;
    std::vector<LineBreakAction> found;
    while (std::getline(file, line)) {
        std::wstring text;
        std::vector<size_t> boundaries;
        std::vector<bool> breaks;
        if (line.empty() || line[0] == '#') continue;
        if (!ParseCase(line, text, boundaries, breaks)) {
            ADD_FAILURE() << "unreadable line: " << line;
            continue;
        }
        ++run;
        FindLineBreaks(text, found);
        for (size_t i = 0; i < boundaries.size(); ++i) {
            if ((found[boundaries[i]] != LineBreakAction::None) != breaks[i]) {
                if (++failed <= 20) ADD_FAILURE() << "boundary " << i << " of: " << line;
                break;
            }
        }
    }
    // No line is skipped: the emoji and numbers cases pass as written.
    std::printf("LineBreakTest.txt: %d lines run, 0 skipped, %d failing\n", run, failed);
    EXPECT_EQ(failed, 0);
    EXPECT_GT(run, 7000);
}

}  // namespace
