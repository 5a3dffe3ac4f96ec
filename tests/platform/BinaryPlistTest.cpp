#include "platform/BinaryPlist.h"
#include "platform/linux/PlistValue.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

using varrow::platform::plistIsSafeToParse;

namespace {

QByteArray binaryPlist(const char* key, const QByteArray& value) {
    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, key, plist_new_string(value.constData()));
    char* out = nullptr;
    uint32_t length = 0;
    plist_to_bin(dict, &out, &length);
    QByteArray bytes(out, qsizetype(length));
    free(out);
    plist_free(dict);
    return bytes;
}

}  // namespace

TEST(BinaryPlist, OrdinaryListsPassAndTextListsAlways) {
    EXPECT_TRUE(plistIsSafeToParse(binaryPlist("CFBundleIdentifier", "com.anthropic.claudefordesktop")));
    EXPECT_TRUE(plistIsSafeToParse(binaryPlist("CFBundleName", "Claude Wörk")));  // written as UTF-16
    EXPECT_TRUE(plistIsSafeToParse("<?xml version=\"1.0\"?><plist><dict/></plist>"));
    EXPECT_TRUE(varrow::platform::linux_::PlistValue::parse(binaryPlist("k", "v")));
}

TEST(BinaryPlist, StringsLibplistWouldAbortOnAreRefused) {
    // ASCII-typed text with a byte above 0x7F, and a key holding a NUL: libplist asserts on both.
    QByteArray high = binaryPlist("CFBundleIdentifier", "abcdef");
    high.replace("abcdef",
                 "abc\xe9"
                 "ef");
    QByteArray nul = binaryPlist("CFBundleIdentifier", "abcdef");
    nul.replace("CFBundleIdentifier", QByteArray("CFBundle\0dentifier", 18));
    for (const QByteArray& bytes : {high, nul}) {
        EXPECT_FALSE(plistIsSafeToParse(bytes));
        EXPECT_FALSE(varrow::platform::linux_::PlistValue::parse(bytes));
    }
    // Offsets and lengths that point past the end are refused rather than read.
    QByteArray cut = binaryPlist("k", "v");
    cut[cut.size() - 1] = char(0x7F);
    EXPECT_FALSE(plistIsSafeToParse(cut));
}
