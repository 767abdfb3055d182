// Property bags and font texts: what controls store, and reading it back.
#include <gtest/gtest.h>

#include "forms/font_description.h"
#include "forms/property_bag.h"

namespace {

using forms::PropertyBag;

TEST(PropertyBag, DefaultsAreNotStoredAndNamesMatchInAnyCase) {
    PropertyBag bag;
    bag.WriteProperty("Caption", std::string_view("Command1"), std::string_view("Command1"));
    bag.WriteProperty("Enabled", true, true);
    bag.WriteProperty("FontColour", 0L, 0L);
    EXPECT_EQ(bag.size(), 0u);
    bag.WriteProperty("Caption", std::string_view("設定"), std::string_view("Command1"));
    bag.WriteProperty("Enabled", false, true);
    bag.WriteProperty("FontColour", 255L, 0L);
    EXPECT_EQ(bag.ReadProperty("CAPTION", std::string_view("x")), "設定");
    EXPECT_FALSE(bag.ReadProperty("enabled", true));
    EXPECT_EQ(bag.ReadProperty("fontcolour", 0L), 255);
    // Writing the default again drops the stored value; another case names the same entry.
    bag.WriteProperty("CAPTION", std::string_view("Command1"), std::string_view("Command1"));
    EXPECT_FALSE(bag.contains("Caption"));
    EXPECT_EQ(bag.size(), 2u);
}

TEST(PropertyBag, ValuesThatDoNotReadAsTheirKindGiveTheDefault) {
    auto bag = PropertyBag::parse("Enabled=3:yes\nFirstRun=2:1x\nBig=25:9999999999999999999999999\nOld=4:True\n");
    ASSERT_TRUE(bag);
    EXPECT_TRUE(bag->ReadProperty("Enabled", true));
    EXPECT_FALSE(bag->ReadProperty("Enabled", false));
    EXPECT_EQ(bag->ReadProperty("FirstRun", 7L), 7);
    EXPECT_EQ(bag->ReadProperty("Big", 7L), 7);
    EXPECT_TRUE(bag->ReadProperty("Old", false));
}

TEST(PropertyBag, RoundTripsAnyBytesAndRefusesBrokenText) {
    PropertyBag bag;
    const std::string picture("GIF89a\0\n=:\xff", 11);
    bag.WriteProperty("Picture", std::string_view(picture), std::string_view(""));
    bag.WriteProperty("Caption", std::string_view("ｷｬﾝｾﾙ"), std::string_view(""));
    const auto back = PropertyBag::parse(bag.serialize());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->items(), bag.items());
    EXPECT_EQ(back->ReadProperty("picture", std::string_view("")), picture);
    for (const char* broken : {"Caption", "Caption=3:ab\n", "Caption=2:ab", "=1:a\n", "A=1:a\nA=1:b\n",
                               "Caption=-1:\n", "Caption=99999999999999999999:a\n", "Caption=2:abc\n"})
        EXPECT_FALSE(PropertyBag::parse(broken)) << broken;
    EXPECT_TRUE(PropertyBag::parse(""));
}

TEST(FontDescription, RoundTripsThroughItsTextAndRefusesNonsense) {
    forms::FontDescription font;
    font.name = "ＭＳ Ｐゴシック";
    font.size = 9.75;
    font.weight = 700;
    font.italic = true;
    font.charset = 128;
    const auto back = forms::fontFromText(forms::fontText(font));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, font);
    for (const char* bad : {"", "Arial", ";9;400;0;0;0;0", "Arial;0;400;0;0;0;0", "Arial;9;400;0;0;0;300",
                            "Arial;9x;400;0;0;0;0", "Arial;9;400;0;0;0;0;extra"})
        EXPECT_FALSE(forms::fontFromText(bad)) << bad;
}

}  // namespace
