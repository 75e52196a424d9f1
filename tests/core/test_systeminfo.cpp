#include "core/mdlmavrell.h"
#include "core/systeminfo.h"

#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SystemInfo, LanguageFromLocale)
{
    struct Case { const char *locale, *lng; };
    const Case cases[] = {{"zh_TW", "tw"}, {"zh_HK", "tw"}, {"zh_MO", "tw"}, {"zh_Hant_SG", "tw"},
                          {"zh_CN", "gb"}, {"zh_SG", "gb"}, {"en_US", "en"}, {"ja_JP", "en"},
                          {"de_DE", "en"}, {"C", "en"}};
    for (const Case &c : cases)
        EXPECT_EQ(mdlLocaleLng::LngForLocaleName(c.locale).toStdString(), c.lng) << c.locale;
}

TEST(SystemInfo, LocalDrive)
{
    QTemporaryDir dir;
    EXPECT_TRUE(mdlMavrell::IsLocalDrive(dir.path()));
    EXPECT_TRUE(mdlMavrell::IsLocalDrive(dir.path() + "/clip.avi"));
    EXPECT_FALSE(mdlMavrell::IsLocalDrive(""));
    EXPECT_FALSE(mdlMavrell::IsLocalDrive("/no/such/folder/"));

    struct Case { const char *type; bool network; };
    const Case types[] = {{"ext4", false},          {"btrfs", false}, {"tmpfs", false},
                          {"vfat", false},          {"nfs4", true},   {"cifs", true},
                          {"fuse.gvfsd-fuse", true}, {"FUSE.GVFSD-FUSE", true}, {"fuse.sshfs", true}};
    for (const Case &c : types)
        EXPECT_EQ(mdlMavrell::isNetworkFileSystem(c.type), c.network) << c.type;
}

TEST(SystemInfo, FontListHasTrueTypeFontsOnceEach)
{
    const auto fonts = mdlGetFontsFile::InstalledFonts();
    ASSERT_FALSE(fonts.isEmpty());
    QSet<QString> seen;
    for (const auto &f : fonts) {
        EXPECT_FALSE(seen.contains(f.text)) << f.text.toStdString();
        seen.insert(f.text);
        EXPECT_TRUE(f.file.endsWith(".ttf", Qt::CaseInsensitive) || f.file.endsWith(".ttc", Qt::CaseInsensitive));
        EXPECT_TRUE(f.text.startsWith(f.family + "   (")) << f.text.toStdString();
    }
}

TEST(SystemInfo, ChineseFamiliesTakeTheirNamesFromTheTextTable)
{
    mdlMavrell::lng[txt::FontSimSunNSimSun] = QStringLiteral("宋体");
    EXPECT_EQ(mdlGetFontsFile::DisplayName("SimSun & NSimSun").toStdString(), "宋体");
    EXPECT_EQ(mdlGetFontsFile::DisplayName("simsun & nsimsun").toStdString(), "simsun & nsimsun");
    EXPECT_EQ(mdlGetFontsFile::DisplayName("DejaVu Sans").toStdString(), "DejaVu Sans");
}
