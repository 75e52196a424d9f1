#include "core/syscolors.h"

#include <gtest/gtest.h>

TEST(SysColors, TranslatesReferencesAndPlainValues)
{
    struct Case { std::uint32_t value; std::uint32_t expected; };
    const Case cases[] = {
        {0x8000000Fu, 0xC8D0D4u},   // button face
        {0x80000012u, 0x000000u},   // button text
        {0x80000010u, 0x808080u},   // button shadow
        {0x80000014u, 0xFFFFFFu},   // button highlight
        {0x80000008u, 0x000000u},   // window text
        {0x80000018u, 0xE1FFFFu},   // tooltip background (255,255,225)
        {0x800000FFu, 0x000000u},   // no such system colour
        {0x80010005u, 0x000000u},   // not a well-formed reference
        {0x00010203u, 0x010203u},   // plain colour stays as it is
        {0x12FFFFFFu, 0xFFFFFFu},   // stray high byte is dropped
    };
    for (const auto &c : cases)
        EXPECT_EQ(syscolors::translate(c.value), c.expected) << std::hex << c.value;
}

TEST(SysColors, QColorKeepsTheByteOrder)
{
    // 0x00BBGGRR: red is the low byte.
    const QColor c = syscolors::toQColor(0x00332211u);
    EXPECT_EQ(c.red(), 0x11);
    EXPECT_EQ(c.green(), 0x22);
    EXPECT_EQ(c.blue(), 0x33);
    EXPECT_EQ(syscolors::fromQColor(c), 0x00332211u);
    EXPECT_EQ(syscolors::toQColor(static_cast<int>(0x8000000F)), QColor(212, 208, 200));
    EXPECT_EQ(syscolors::sysColor(-1), 0u);
    EXPECT_EQ(syscolors::sysColor(syscolors::count), 0u);
}
