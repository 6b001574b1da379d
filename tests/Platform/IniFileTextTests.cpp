#include "Platform/IniFileText.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using Platform::IniFileText;

namespace {

// What QSettings reads under each key of the file, as text items.
std::map<QString, QStringList> settingsOf(const QByteArray& text) {
    QTemporaryDir folder;
    QFile file(folder.filePath("t.ini"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    const QSettings settings(file.fileName(), QSettings::IniFormat);
    std::map<QString, QStringList> values;
    for (const QString& key : settings.allKeys()) {
        const QVariant value = settings.value(key);
        values[key] =
            value.typeId() == QMetaType::QStringList ? value.toStringList() : QStringList{value.toString()};
    }
    return values;
}

} // namespace

TEST(IniFileText, ReadsEveryValueAsQSettingsDoes) {
    const QByteArray texts[] = {
        "[General]\nplain=value\n  spaced  =  two words  \n\ttabbed\t=\tx\t\n",
        "[General]\nquoted=\" kept spaces \"\nhalf=a\"b c\"d\nempty=\nbare=\"\"\n",
        "[General]\nescapes=\\t\\n\\\\\\\"\\'\\?\\a|\\x41\\x4a2|\\101\\0|\\q|\\ \n",
        "[General]\nlist=a, b ,c\nquotedComma=\"a,b\"\ntrailing=a,\nsingle=\"x\" , \"y\"\n",
        "[General]\n; a comment with = and \"\nk=1 ; the rest is a comment\nj=\"in ; quotes\"\n",
        "[General]\ncontinued=one\\\n two\\\r\n three\nnext=4\n",
        "\xEF\xBB\xBF[General]\r\ncrlf=yes\r\nother=no\r\n",
        "[General]\nunicode=Jos\xC3\xA9 \xE2\x82\xAC\nhexWide=\\x20ac\n",
    };
    for (const QByteArray& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const IniFileText parsed(text);
        EXPECT_FALSE(parsed.hasLinesThatDoNotParse());
        EXPECT_FALSE(parsed.hasOpenQuote());
        std::map<QString, QStringList> read;
        for (const IniFileText::KeyLine& line : parsed.keyLines())
            read[QString::fromUtf8(line.key)] = line.items;
        EXPECT_EQ(read, settingsOf(text));
    }
}

TEST(IniFileText, TellsLinesThatDoNotParseAndQuotesLeftOpen) {
    const struct {
        QByteArray text;
        bool doNotParse;
        bool openQuote;
    } cases[] = {
        {"[General]\nk=1\nhello\n", true, false},        {"[General\nk=1\n", true, false},
        {"[General]\nk=\"a\nj=2\n", false, true},        {"[General]\nk=\"a", false, true},
        {"[General]\nk=\"a\\\"\nj=2\n", false, true}, // the escaped quote closes nothing
        {"[General]\nk=\"a\\\"\"\nj=2\n", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const IniFileText parsed(c.text);
        EXPECT_EQ(parsed.hasLinesThatDoNotParse(), c.doNotParse);
        EXPECT_EQ(parsed.hasOpenQuote(), c.openQuote);
    }
}

TEST(IniFileText, GivesEachKeyLinesBytesAndTheValueUndecoded) {
    const QByteArray text = "[General]\nk=1\nv=@Variant(\\0\\0\\0\\t\\xff)\nw=a, \\x40Rect(1 2 3 4)\n";
    const IniFileText parsed(text);
    ASSERT_EQ(parsed.keyLines().size(), 3u);
    const IniFileText::KeyLine& variant = parsed.keyLines()[1];
    EXPECT_EQ(text.mid(variant.begin, variant.end - variant.begin), "v=@Variant(\\0\\0\\0\\t\\xff)");
    EXPECT_EQ(variant.items, QStringList{QString("@Variant(") + QChar(0) + QChar(0) + QChar(0) + QChar(9) +
                                         QChar(0xFF) + ')'});
    EXPECT_EQ(parsed.keyLines()[2].items, (QStringList{"a", "@Rect(1 2 3 4)"}));
}
