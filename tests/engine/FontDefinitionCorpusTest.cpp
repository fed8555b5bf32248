// Regression run over the fuzz target's seed corpus: every file is read by the
// in-process parser and must give the verdict its name starts with
// ("complete-" or "malformed-"), leaving a consistent glyph table behind.
#include "OruBitmapFont.h"
#include "OutputCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kCorpus = ZIBO_SOURCE_DIR "/tests/fuzz/corpus/FontDefinitionFuzz";

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

TEST(FontDefinitionCorpus, EveryFileGivesTheVerdictItsNameStates) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 10u) << "corpus missing at " << kCorpus;

    for (const std::filesystem::path& path : files) {
        const std::string name = path.filename().string();
        SCOPED_TRACE(name);
        DefinitionVerdict expected;
        if (StartsWith(name, "complete-")) {
            expected = DefinitionVerdict::Complete;
        } else if (StartsWith(name, "malformed-")) {
            expected = DefinitionVerdict::Malformed;
        } else {
            ADD_FAILURE() << "corpus file names start with complete- or malformed-";
            continue;
        }
        FILE* stream = fopen(path.c_str(), "r");
        ASSERT_NE(stream, nullptr);
        OutputCapture quiet;
        OruBitmapFont* font = new OruBitmapFont();
        const DefinitionVerdict verdict = font->ReadDefinition(stream);
        fclose(stream);
        int stored = 0;
        for (int code = 0; code < OruBitmapFont::kGlyphCount; ++code) {
            const int id = font->GetGlyph(code).id;
            EXPECT_TRUE(id == code || id == 0) << "code " << code << " holds id " << id;
            stored += id != 0 ? 1 : 0;
        }
        delete font;
        quiet.Stop();
        EXPECT_EQ(verdict, expected);
        // A complete file of this corpus defines some glyph unless it is the
        // bare two-line file.
        if (expected == DefinitionVerdict::Complete && name != "complete-two-lines.fnt") {
            EXPECT_GT(stored, 0);
        }
    }
}

}  // namespace
