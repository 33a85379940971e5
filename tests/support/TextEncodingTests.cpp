#include <gtest/gtest.h>

#include "TestSupport.h"
#include "support/TextEncoding.h"

using namespace rz;
using rztest::U8;

TEST(TextEncoding, FileBytesBecomeUtf8AndUtf8GoesBackWithoutLoss) {
    const struct {
        const char* what;
        std::string bytes;
        unsigned legacy;
        std::string text;
    } cases[] = {
        {"ASCII", "^NorSep|\r\n", 1252, "^NorSep|\r\n"},
        {"mark", "\xEF\xBB\xBF" + U8(u8"Привет 日本語 😀"), 1252, U8(u8"Привет 日本語 😀")},
        {"UTF-8 without mark", U8(u8"Caf\u00e9 Ωmega 😀"), 1252, U8(u8"Café Ωmega 😀")},
        {"Windows-1252", "Caf\xE9 \x80 \xDC", 1252, U8(u8"Café € Ü")},
        {"Windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2", 1251, U8(u8"Привет")},
        {"Shift-JIS", "\x93\xFA\x96\x7B\x8C\xEA", 932, U8(u8"日本語")},
        // Not UTF-8 after all: legacy text.
        {"overlong form", "\xC0\xAF", 1252, U8(u8"À¯")},
        {"surrogate half", "\xED\xA0\x80", 1252, U8(u8"í\u00a0€")},
        {"cut sequence", "ab\xE6\x97", 1252, U8(u8"abæ—")},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", 1252, U8(u8"ô\u0090€€")},
    };
    for (const auto& c : cases) {
        const std::string text = Utf8FromFileBytes(c.bytes, c.legacy);
        EXPECT_EQ(text, c.text) << c.what;
        const std::string stored = FileBytesFromUtf8(text);
        EXPECT_EQ(stored.compare(0, 3, "\xEF\xBB\xBF") == 0, !IsAscii(text)) << c.what;
        EXPECT_EQ(Utf8FromFileBytes(stored, c.legacy), text) << c.what;
    }
}
