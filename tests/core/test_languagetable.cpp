#include "core/languagetable.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

using namespace mdlMavrell;

namespace {

const char *const kCodes[] = {"tw", "gb", "en"};
// The last entry every table holds.
constexpr int kLastEntry = 318;
// Numbers kept free: no table holds them.
bool unused(int n) { return n > 290 && n < 300; }
constexpr int kUnusedCount = 9;

QByteArray rawTable(const QString &code)
{
    QFile f(languageTablePath(code));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TextTable loadedTable(const QString &code)
{
    lng = TextTable{};
    EXPECT_TRUE(loadLanguageTable(code)) << qPrintable(code);
    return lng;
}

QString show(const QString &s)
{
    QString t = s;
    t.replace(u'\r', QStringLiteral("<CR>")).replace(u'\n', QStringLiteral("<LF>"));
    return QLatin1Char('[') + t + QLatin1Char(']');
}

} // namespace

// The stored bytes: UTF-8 without a byte-order mark, every line ended by CR LF, the two
// header lines, then 001 to the last entry in order without gaps.
TEST(LanguageTable, StoredFormatOfEachTable)
{
    const QMap<QString, QString> names{{"tw", "Chinese (Traditional)"},
                                       {"gb", "Chinese (Simplified)"},
                                       {"en", "English"}};
    for (const char *code : kCodes) {
        SCOPED_TRACE(code);
        const QByteArray bytes = rawTable(code);
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
        QStringDecoder decode(QStringDecoder::Utf8);
        const QString text = decode(bytes);
        EXPECT_FALSE(decode.hasError());
        EXPECT_TRUE(text.endsWith("\r\n"));
        EXPECT_EQ(text.count(u'\r'), text.count(QStringLiteral("\r\n")));
        EXPECT_EQ(text.count(u'\n'), text.count(QStringLiteral("\r\n")));

        QStringList lines = text.split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.takeLast(), QString());
        ASSERT_EQ(lines.size(), 2 + kLastEntry - kUnusedCount);
        EXPECT_EQ(lines[0], "language=" + names.value(code));
        EXPECT_EQ(lines[1], QStringLiteral("lng=") + code);
        int at = 2;
        for (int n = 1; n <= kLastEntry; ++n) {
            if (unused(n))
                continue;
            EXPECT_TRUE(lines[at].startsWith(QStringLiteral("%1=").arg(n, 3, 10, QChar(u'0')))) << qPrintable(lines[at]);
            ++at;
        }
    }
}

TEST(LanguageTable, EachTableFillsItsEntriesOnly)
{
    for (const char *code : kCodes) {
        SCOPED_TRACE(code);
        const TextTable t = loadedTable(code);
        EXPECT_TRUE(t[0].isEmpty());
        for (int n = 1; n <= kLastEntry; ++n) {
            if (unused(n)) {
                EXPECT_TRUE(t[n].isEmpty()) << n;
                continue;
            }
            EXPECT_FALSE(t[n].trimmed().isEmpty()) << n;
            EXPECT_FALSE(t[n].contains(QStringLiteral("\\n"))) << n;  // every "\n" became a break
        }
        for (int n = kLastEntry + 1; n < lngSize; ++n)
            EXPECT_TRUE(t[n].isEmpty()) << n;
    }
}

// Callers replace "aaa", "bbb", ... in these entries; every language must carry exactly
// these placeholders, and no other entry may hold a letter triple a caller would replace.
TEST(LanguageTable, PlaceholdersAreTheSameInEveryLanguage)
{
    QMap<int, QStringList> expected;
    for (int n : {4, 16, 49, 51, 71, 79, 87, 109, 153, 155, 157, 219, 317})
        expected[n] = {"aaa"};
    expected[39] = expected[278] = {"aaa", "bbb"};
    for (int n : {283, 284, 285, 286, 289, 310, 311, 318})
        expected[n] = {"aaa", "bbb"};
    for (int n : {313, 315})
        expected[n] = {"aaa"};
    expected[262] = {"aaa", "aaa", "bbb", "ccc"};
    expected[44] = {"aaa", "bbb", "ccc", "ddd", "eee", "fff", "ggg"};
    expected[46] = {"aaa", "bbb", "ccc", "ddd", "eee", "fff", "ggg", "hhh", "iii"};

    const QRegularExpression triple(QStringLiteral("([a-z])\\1\\1"));
    for (const char *code : kCodes) {
        SCOPED_TRACE(code);
        const TextTable t = loadedTable(code);
        for (int n = 1; n <= kLastEntry; ++n) {
            QStringList found;
            for (auto it = triple.globalMatch(t[n]); it.hasNext();)
                found << it.next().captured(0);
            found.sort();
            EXPECT_EQ(found.join(u' ').toStdString(), expected.value(n).join(u' ').toStdString())
                << n << " " << qPrintable(show(t[n]));
        }
    }
}

// Blanks at the ends of these entries separate them from the text they are joined to.
TEST(LanguageTable, SignificantBlanksAreKept)
{
    struct Blanks { int entry; int leading; int trailing; };
    const Blanks cases[] = {
        {7, 0, 1},   {8, 1, 0},   {58, 0, 1},  {60, 0, 1},  {61, 0, 1},  {63, 0, 1},
        {64, 0, 2},  {105, 0, 1}, {106, 0, 1}, {120, 2, 0}, {121, 2, 0}, {122, 2, 0},
        {123, 2, 0}, {134, 0, 1}, {270, 0, 1},
    };
    auto leading = [](const QString &s) { int i = 0; while (i < s.size() && s[i] == u' ') ++i; return i; };
    auto trailing = [](const QString &s) { int i = 0; while (i < s.size() && s[s.size() - 1 - i] == u' ') ++i; return i; };
    for (const char *code : kCodes) {
        SCOPED_TRACE(code);
        const TextTable t = loadedTable(code);
        for (const Blanks &b : cases) {
            EXPECT_EQ(leading(t[b.entry]), b.leading) << b.entry << " " << qPrintable(show(t[b.entry]));
            EXPECT_EQ(trailing(t[b.entry]), b.trailing) << b.entry << " " << qPrintable(show(t[b.entry]));
        }
    }
}

// Entries that other code reads as data, not only as captions.
TEST(LanguageTable, EntriesReadAsData)
{
    struct Exact { const char *code; int entry; const char *text; };
    const Exact exact[] = {
        {"tw", 9, "："},  {"gb", 9, "："},  {"tw", 26, "，"}, {"gb", 26, "，"},
        {"tw", 55, "與來源影音相同"}, {"gb", 55, "与来源影音相同"},
        {"tw", 117, "與來源相同"}, {"gb", 117, "与来源相同"},
        {"tw", 264, "聲音"}, {"gb", 264, "声音"},
        {"tw", 213, "繁體中文 - cp950"}, {"tw", 214, "簡體中文 - cp936"},
        {"tw", 215, "中歐語系 - cp1250"}, {"tw", 216, "unicode"},
        {"gb", 216, "unicode"}, {"en", 216, "unicode"},
        // The fixed "W x 原比例" items of the size list carry the Chinese tables' word.
        {"tw", 269, "原比例"}, {"gb", 269, "原比例"},
    };
    for (const Exact &e : exact) {
        const TextTable t = loadedTable(e.code);
        EXPECT_EQ(t[e.entry], QString::fromUtf8(e.text)) << e.code << " " << e.entry;
    }

    for (const char *code : kCodes) {
        SCOPED_TRACE(code);
        const TextTable t = loadedTable(code);
        // The custom word (entry 270 without " x ") starts the custom picture size item.
        ASSERT_TRUE(t[270].endsWith(QStringLiteral(" x ")));
        const QString customWord = t[270].left(t[270].size() - 3);
        EXPECT_FALSE(customWord.isEmpty());
        EXPECT_TRUE(t[211].startsWith(customWord, Qt::CaseInsensitive)) << qPrintable(t[211]);
        EXPECT_FALSE(t[269].contains(customWord, Qt::CaseInsensitive));
        // A list item "25" + entry 120 is cut before its "(" to read the frame rate; the
        // play button's caption is entry 172 cut before its "(".
        for (int n : {120, 121, 122, 123, 172, 173})
            EXPECT_TRUE(t[n].contains(u'(')) << n;
        EXPECT_EQ(t[120].indexOf(u'('), 2);
        EXPECT_FALSE(t[55].contains(u'('));
        // lblFormatStr keeps its value by splitting its caption at "=".
        EXPECT_EQ(t[64].count(u'='), 1);
        EXPECT_TRUE(t[64].endsWith(QStringLiteral("=  ")));
        // These two are shown with their line breaks turned into the separator.
        EXPECT_TRUE(t[74].contains(QStringLiteral("\r\n")));
        EXPECT_TRUE(t[251].contains(QStringLiteral("\r\n")));
        // The sound word must not occur in the other target formats.
        for (const char *format : {"MPEG1", "MPEG2", "VCD", "DVD", "WMV7", "WMV8", "MP42", "XviD",
                                   "DivX", "H264", "AudIsMp3", "onlyTransVol", "onlyCut", "onlyFix"})
            EXPECT_FALSE(QString::fromLatin1(format).contains(t[264])) << format;
    }
}

// Each table is written in its own script: English without Chinese, Traditional without
// Simplified-only characters and the reverse.
TEST(LanguageTable, EachTableInItsOwnScript)
{
    const QString simplifiedOnly = QString::fromUtf8("声来与设转视频开选择时间录实际点启动关键帧画档显认");
    const QString traditionalOnly = QString::fromUtf8("聲來與設轉視頻開選擇時間錄實際點啟動關鍵幀畫檔顯認");
    const TextTable tw = loadedTable("tw");
    const TextTable gb = loadedTable("gb");
    const TextTable en = loadedTable("en");
    for (int n = 1; n <= kLastEntry; ++n) {
        for (const QChar c : simplifiedOnly)
            EXPECT_FALSE(tw[n].contains(c)) << n << " " << qPrintable(QString(c));
        for (const QChar c : traditionalOnly)
            EXPECT_FALSE(gb[n].contains(c)) << n << " " << qPrintable(QString(c));
        for (const QChar c : en[n])
            EXPECT_LT(c.unicode(), 0x2E80) << n << " " << qPrintable(en[n]);
    }
    // Font names: the Chinese tables show Chinese names, the English one the Latin names.
    EXPECT_EQ(en[222], "SimSun & NSimSun");
    EXPECT_NE(tw[222], en[222]);
    EXPECT_NE(gb[231], tw[231]);
}

TEST(LanguageTable, LoaderRulesOnOddLines)
{
    struct Case { const char *name; const char *text; QMap<int, QString> expect; int written; };
    const Case cases[] = {
        {"plain", "001=one\r\n002=two\r\n", {{1, "one"}, {2, "two"}}, 2},
        {"no equals sign", "001 one\r\n", {}, 0},
        {"equals sign first", "=one\r\n", {}, 0},
        {"header keys are not numbers", "language=English\r\nlng=en\r\nabc=x\r\n", {}, 0},
        {"further equals signs stay in the text", "005=a=b==c\r\n", {{5, "a=b==c"}}, 1},
        {"empty text", "006=\r\n", {{6, ""}}, 1},
        {"blanks at both ends are kept", "007=  x  \r\n", {{7, "  x  "}}, 1},
        {"backslash n becomes CR LF", "008=a\\nb\\n\r\n", {{8, "a\r\nb\r\n"}}, 1},
        {"lone LF does not split", "009=a\n010=b\r\n", {{9, "a\n010=b"}}, 1},
        {"lone CR does not split", "011=a\r012=b", {{11, "a\r012=b"}}, 1},
        {"fraction rounds to the nearest", "1.6=x\r\n", {{2, "x"}}, 1},
        {"half rounds to even", "2.5=x\r\n3.5=y\r\n", {{2, "x"}, {4, "y"}}, 2},
        {"blanks around the key", " 12 =x\r\n", {{12, "x"}}, 1},
        {"entry 0 and 320 are in range", "0=zero\r\n320=last\r\n", {{0, "zero"}, {320, "last"}}, 2},
        {"321 and -1 are skipped", "321=x\r\n-1=y\r\n320.6=z\r\n", {}, 0},
        {"not numbers", "1,5=x\r\n0x10=y\r\ninf=z\r\nnan=w\r\n1e999=v\r\n--1=u\r\n", {}, 0},
        {"exponent", "1e2=x\r\n", {{100, "x"}}, 1},
        {"a later line wins", "013=a\r\n013=b\r\n", {{13, "b"}}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TextTable t;
        t.fill(QStringLiteral("old"));
        EXPECT_EQ(applyLanguageText(QString::fromUtf8(c.text), t), c.written);
        for (int n = 0; n < lngSize; ++n) {
            const QString want = c.expect.contains(n) ? c.expect.value(n) : QStringLiteral("old");
            EXPECT_EQ(t[n], want) << n << " " << qPrintable(show(t[n]));
        }
    }
}

TEST(LanguageTable, LoadingByCode)
{
    lng = TextTable{};
    ASSERT_TRUE(loadLanguageTable("TW"));  // codes are matched in lower case
    EXPECT_EQ(lng[txt::AudioWord], QString::fromUtf8("聲音"));
    lng[0] = "zero";
    lng[320] = "kept";

    // A second table overwrites the entries it has and leaves the rest alone.
    ASSERT_TRUE(loadLanguageTable("gb"));
    EXPECT_EQ(lng[txt::AudioWord], QString::fromUtf8("声音"));
    EXPECT_EQ(lng[0], "zero");
    EXPECT_EQ(lng[320], "kept");
    const TextTable gb = lng;

    // Unknown or empty codes leave the table as it was, so the caller can fall back.
    for (const char *code : {"", "fr", "zh", "../lang/TW", "tw.txt", " tw"}) {
        EXPECT_FALSE(loadLanguageTable(code)) << code;
        EXPECT_EQ(lng, gb) << code;
        EXPECT_TRUE(languageTablePath(code).isEmpty()) << code;
    }

    ASSERT_TRUE(loadLanguageTable("En"));
    EXPECT_EQ(lng[txt::ConversionWord], "Conversion");
    EXPECT_EQ(languageCodes(), QStringList({"tw", "gb", "en"}));
}
